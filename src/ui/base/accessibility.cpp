#include "ui/base/accessibility.hpp"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace hw {

namespace {

// A combo box as Qt's own interface describes it (its list and, when it is
// editable, its text box as children; "show the list" as its action), but
// named as every other control is: by its accessible name or its label.
class ComboBoxInterface : public QAccessibleWidget
{
public:
    explicit ComboBoxInterface(QComboBox *box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    { }

    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->currentText();
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return box()->lineEdit() ? 2 : 1; }

    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->lineEdit())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child->object() == box()->view())
            return 0;
        if (box()->lineEdit() && child->object() == box()->lineEdit())
            return 1;
        return -1;
    }

    QAccessibleInterface *focusChild() const override
    {
        // The text box of an editable combo box is where the typing goes.
        if (box()->lineEdit() && box()->hasFocus())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = box()->view()->isVisible();
        state.collapsed = !state.expanded;
        state.editable = box()->isEditable();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList {showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (name != showMenuAction() && name != pressAction())
            return QAccessibleWidget::doAction(name);
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }
};

AnnouncementListener g_listener = nullptr;

QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (className == QLatin1String("QComboBox"))
        if (auto *box = qobject_cast<QComboBox *>(object))
            return new ComboBoxInterface(box);
    return nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    QAccessible::installFactory(interfaceFor);
}

QString spokenName(const QString &caption)
{
    QString name;
    for (qsizetype at = 0; at < caption.size(); ++at) {
        // "&x" marks an access key, "&&" stands for one "&".
        if (caption[at] == QLatin1Char('&') && at + 1 < caption.size())
            ++at;
        name.append(caption[at]);
    }
    name = name.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

void nameAfter(QWidget *control, QLabel *label)
{
    label->setBuddy(control);
    control->setAccessibleName(spokenName(label->text()));
}

AnnouncementListener setAnnouncementListener(AnnouncementListener listener)
{
    return std::exchange(g_listener, listener);
}

void announce(QWidget *source)
{
    if (g_listener)
        g_listener(source);
    QAccessibleEvent changed(source, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    QAccessibleEvent alert(source, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

} // namespace hw
