#pragma once

#include <QListWidget>

namespace hw {

/// A list box in the manner of the task list: rows of one fixed height, a
/// height that always holds a whole number of rows, and entries that file
/// themselves in caseless order.
class ListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

    /// The height of one row in pixels, from the list's font.
    int rowHeight() const { return m_rowHeight; }

    /// Sets the geometry with the height reduced to the largest height up to
    /// `geometry.height()` that shows whole rows only.
    void setIntegralGeometry(const QRect &geometry);

    /// Inserts `text` at its caseless sorted place (after equal texts) and
    /// returns its row. The selection and the current row stay on their entries.
    int addSorted(const QString &text);

    /// The texts of all entries, top to bottom.
    QStringList texts() const;

signals:
    /// The paste key was pressed; the list's owner knows what a paste adds.
    void pasteRequested();
    /// Enter or Return was pressed.
    void returnPressed();
    /// Delete was pressed.
    void deletePressed();

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void updateRowHeight();

    int m_rowHeight = 0;
};

} // namespace hw
