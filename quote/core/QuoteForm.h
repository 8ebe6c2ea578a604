#pragma once

#include <QString>

#include <array>

// The main window's fields as the quote submission reads them: texts as they
// stand, enabled or not, and which option of each group is selected.
struct QuoteForm
{
    QString city1, city2, city3; // region entries "code|name"
    QString houseType;           // Combo6
    QString bathrooms;           // Combo4
    QString balconies;           // Combo5
    // Floor areas in square metres, as typed.
    QString livingRoomArea, diningRoomArea, bedroomArea, kitchenArea, bathroomArea, balconyArea;
    std::array<bool, 5> style{}; // Option1 … Option5
    std::array<bool, 3> grade{}; // Option6 … Option8
    QString phone;               // Text8
    QString formOfAddress;       // chenghutext
};
