#pragma once

// Editable combo boxes that screen readers announce by their field's label.
// Qt names a combo box on Linux by its current text and leaves the label to
// a label widget's buddy relation, which a field labelled by a picture, or
// one of three fields behind one caption, cannot have: "请选择 组合框" is all
// a user would hear. With this installed, a combo box that has an accessible
// name reports it as its name, whatever it shows, and its text as its value
// (one without a name is named by its text, as before); the rest is what Qt
// reports of a combo box.
namespace LabelledCombo {
void install();
} // namespace LabelledCombo
