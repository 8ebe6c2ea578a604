#pragma once

#include <QString>

// The room counts and the code a house type stands for in a quote request.
struct HouseType
{
    int bedrooms = 0;
    int livingRooms = 0;
    int diningRooms = 0;
    QString code;
};

// Which of the hall and bedroom area fields a house type switches on.
struct HallFields
{
    bool livingRoom = false; // Text2
    bool diningRoom = false; // Text3
    bool bedroom = false;    // Text4
};

// The rules behind the house-type, bathroom and balcony selectors.
namespace HouseRules {
// The seven house types by exact text; any other text (e.g. "请选择") has no rooms and no code.
HouseType houseType(const QString &text);
// Characters 3-4 of the house type: "二厅" opens all three fields, "一厅" all but the dining room.
HallFields hallFields(const QString &houseTypeText);
// A bathroom or balcony count opens its area field unless it reads "请选择".
bool countFieldEnabled(const QString &countText);
// "一间" … "四间" are 1 … 4; any other text is 0.
int roomCount(const QString &countText);
} // namespace HouseRules
