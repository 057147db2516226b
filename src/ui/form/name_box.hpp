#pragma once

#include <QComboBox>

namespace hw {

class NameListModel;

/// The NPC name box: an editable combo box over the loaded NPC ids whose list
/// opens as wide as its widest id, up to the width of the screen.
class NameBox : public QComboBox
{
    Q_OBJECT
public:
    NameBox(NameListModel *names, QWidget *parent);

    void showPopup() override;

private:
    int listWidth() const;

    NameListModel *m_names;
    // The list's width since the ids last changed; -1 until it is measured.
    int m_listWidth = -1;
};

} // namespace hw
