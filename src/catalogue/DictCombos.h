#pragma once

// The editors' choice lists fed by the data dictionary. An editor fills its
// lists once, when it is created: items added to the dictionary later show
// up the next time the editor opens.

class QWidget;
class TDBComboBox;

// Replaces the box's items by the dictionary items of its data field.
void FillDictCombo(TDBComboBox *box);
// FillDictCombo for every data-bound choice list placed directly on the
// page whose data field is a dictionary category.
void FillDictCombos(QWidget *page);
