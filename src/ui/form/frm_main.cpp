// The window itself: its controls with their fixed geometry, tooltips and tab
// order, the outlines around the option fields and the layout rule.
#include "ui/form/frm_main.hpp"

#include "ui/base/accessibility.hpp"
#include "ui/base/application.hpp"
#include "ui/base/prompts.hpp"
#include "ui/form/candidate_popup.hpp"
#include "ui/form/edit_history.hpp"
#include "ui/form/list_box.hpp"
#include "ui/form/name_box.hpp"
#include "ui/form/name_list_model.hpp"
#include "ui/form/option_completion.hpp"
#include "ui/form/script_box.hpp"
#include "ui/form/wrap_button.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>

#include <algorithm>

namespace hw {

namespace {

constexpr int kClientWidth = 577;
constexpr int kClientHeight = 528;
constexpr int kLeftColumnY[] = {116, 140, 164, 188, 212};

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    // Captions start at the left and are clipped, never wrapped.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Puts the caption's line of text level with the text line of `box`, which a
// text box or combo box centres vertically, as far as the label's height allows.
void levelWith(QLabel *label, const QWidget *box)
{
    const int line = label->fontMetrics().height();
    const int boxLine = box->y() + (box->height() - line + 1) / 2;
    label->setContentsMargins(
        0, std::clamp(boxLine - label->y(), 0, std::max(0, label->height() - line)), 0, 0);
}

template<class Control> Control *place(Control *control, const QString &name, QRect geometry)
{
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

// The platform's check boxes with a 13-pixel box and a narrow gap before the
// caption, so that "Check Visibility" fits its 85 pixels.
class CheckBoxStyle : public QProxyStyle
{
public:
    explicit CheckBoxStyle(QObject *owner)
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name()))
    {
        setParent(owner);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
            return 13;
        case PM_CheckBoxLabelSpacing:
            return 2;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

QString indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QPushButton *makeButton(QPushButton *button, const char *name, QRect geometry)
{
    // Enter presses the button that has the focus, as in a dialog; elsewhere
    // in the form it presses Add Task (keyPressEvent).
    button->setAutoDefault(true);
    return place(button, QLatin1String(name), geometry);
}

} // namespace

frmMain::frmMain(Prompts &prompts, QWidget *parent)
    : QWidget(parent)
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmMain"));
    // Shown on its own (as the tests do), the form is a window of its own.
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    // The layout rule places the controls for any larger size; a smaller one
    // would only squeeze the task list and the script box.
    resize(kClientWidth, kClientHeight);
    setMinimumSize(kClientWidth, kClientHeight);

    createControls();
    setToolTips();
    setAccessibleNames();
    setTabOrder();
    connectHandlers();
    m_completion = new OptionCompletion(*this, m_controls);
    Form_Load();
    // After the start-up: filling the lists is no step to undo.
    m_history =
        new EditHistory(*this, m_controls, [this](const QString &text) { setNpcName(text); });
    connectStateSignals();
}

frmMain::~frmMain()
{
    // It watches the controls, which are destroyed after this body.
    delete m_history;
}

void frmMain::createControls()
{
    FormControls &c = m_controls;
    // Labels first: a later sibling is drawn above an earlier one, and the text
    // boxes must cover the labels that reach under them.
    c.nameCaption = makeLabel(this, "Label5", QStringLiteral("NPC Name:"), {8, 12, 61, 17});
    c.timeCaption = makeLabel(this, "Label3", QStringLiteral("Time:"), {8, 36, 69, 17});
    c.actionCaption = makeLabel(this, "Label4", QStringLiteral("Action:"), {8, 56, 69, 17});
    const QString string01 = QStringLiteral("String_01");
    const QString option01 = QStringLiteral("Option_01");
    c.optionCaptions[0] = makeLabel(this, "", string01, {20, 92, 65, 13});
    c.optionCaptions[1] = makeLabel(this, "", string01, {160, 92, 73, 17});
    constexpr int leftWidths[] = {81, 85, 97, 89, 81};
    for (int i = 0; i < 5; ++i) {
        c.optionCaptions[2 + i] =
            makeLabel(this, "", option01, {20, kLeftColumnY[i], leftWidths[i], 17});
        c.optionCaptions[7 + i] = makeLabel(this, "", option01, {160, kLeftColumnY[i], 73, 17});
    }
    for (int i = 0; i < 12; ++i)
        c.optionCaptions[i]->setObjectName(indexed("lblOption", i));
    c.scheduleCaption = makeLabel(this, "Label1", QStringLiteral("Schedule:"), {8, 268, 201, 17});
    c.scriptCaption = makeLabel(this, "Label2", QStringLiteral("Script:"), {312, 4, 261, 17});

    m_names = new NameListModel(this);
    c.txtName = place(new NameBox(m_names, this), QStringLiteral("txtName"), {72, 8, 145, 21});
    // Keys reach the box first and are passed on to its line edit.
    c.txtName->installEventFilter(this);
    c.txtName->lineEdit()->installEventFilter(this);
    m_namePopup = new CandidatePopup(*c.txtName->lineEdit(), *c.txtName);
    // The list shown borrows the ids, which a change of the list moves.
    const auto hide = [this] { m_namePopup->hide(); };
    connect(m_names, &QAbstractItemModel::modelAboutToBeReset, m_namePopup, hide);
    connect(m_names, &QAbstractItemModel::layoutAboutToBeChanged, m_namePopup, hide);
    connect(m_names, &QAbstractItemModel::rowsAboutToBeInserted, m_namePopup, hide);
    c.loadButton =
        makeButton(new QPushButton(QStringLiteral("Load"), this), "Command1", {220, 8, 81, 21});
    c.cmbTime = place(new QComboBox(this), QStringLiteral("cmbTime"), {52, 32, 165, 21});
    c.chkLOS = place(new QCheckBox(QStringLiteral("Check Visibility"), this),
                     QStringLiteral("chkLOS"), {220, 32, 85, 21});
    // Ticked, as the scripts were always written with the check.
    c.chkLOS->setChecked(true);
    c.cmbTask = place(new QComboBox(this), QStringLiteral("cmbTask"), {52, 56, 197, 21});
    c.chkGlobal = place(new QCheckBox(QStringLiteral("Global"), this), QStringLiteral("chkGlobal"),
                        {252, 56, 49, 21});

    c.optionFields[0] = new QLineEdit(this);
    c.optionFields[0]->setGeometry(72, 92, 81, 19);
    c.optionFields[1] = new QLineEdit(this);
    c.optionFields[1]->setGeometry(216, 92, 81, 19);
    for (int i = 0; i < 5; ++i) {
        c.optionFields[2 + i] = new QLineEdit(this);
        c.optionFields[2 + i]->setGeometry(100, kLeftColumnY[i], 41, 17);
    }
    for (int i = 0; i < 5; ++i) {
        c.optionFields[7 + i] = new QLineEdit(this);
        c.optionFields[7 + i]->setGeometry(236, kLeftColumnY[i], 41, 17);
    }
    for (int i = 0; i < 12; ++i) {
        c.optionFields[i]->setObjectName(indexed("txtOption", i));
        c.optionFields[i]->installEventFilter(this);
    }

    c.chkEqual = place(new QCheckBox(QStringLiteral("Test for Complete Equality"), this),
                       QStringLiteral("chkEqual"), {8, 244, 145, 21});
    // Each button's access key (Alt+letter) is its own in the window and the
    // menu bar, whose menus take F, E and H.
    c.cmdAdd = makeButton(new QPushButton(QStringLiteral("&Add Task"), this), "cmdAdd",
                          {220, 244, 77, 21});
    // The default button, and one that stays so: an auto-default button
    // loses the mark when the focus leaves it.
    c.cmdAdd->setAutoDefault(false);
    c.cmdAdd->setDefault(true);
    c.cmdRemove = makeButton(new QPushButton(QStringLiteral("&Remove Task"), this), "cmdRemove",
                             {220, 264, 77, 21});
    c.lstTasks = new ListBox(this);
    c.lstTasks->setObjectName(QStringLiteral("lstTasks"));
    c.lstTasks->setSelectionMode(QAbstractItemView::ExtendedSelection);
    c.lstTasks->setIntegralGeometry({8, 288, 297, 199});

    c.centralScriptButton = new WrapButton(QStringLiteral("Generate &Central Script"), this);
    makeButton(c.centralScriptButton, "", {8, 492, 89, 33});
    c.generateButton = new WrapButton(QStringLiteral("&Generate"), this);
    makeButton(c.generateButton, "", {100, 492, 113, 33});
    c.selectionButton = new WrapButton(QStringLiteral("Generate From &Selection"), this);
    makeButton(c.selectionButton, "", {216, 492, 89, 33});
    const auto generateButtons = c.generateButtons();
    for (int i = 0; i < 3; ++i)
        generateButtons[static_cast<std::size_t>(i)]->setObjectName(indexed("cmdGenerate", i));

    c.txtScript = place(new ScriptBox(this), QStringLiteral("txtScript"), {308, 20, 261, 501});
    c.txtScript->setFont(scriptFont());
    c.txtScript->installEventFilter(this);

    auto *checkBoxStyle = new CheckBoxStyle(this);
    for (QCheckBox *box : {c.chkLOS, c.chkGlobal, c.chkEqual})
        box->setStyle(checkBoxStyle);

    levelWith(c.nameCaption, c.txtName);
    levelWith(c.timeCaption, c.cmbTime);
    levelWith(c.actionCaption, c.cmbTask);
    for (std::size_t n = 0; n < c.optionCaptions.size(); ++n)
        levelWith(c.optionCaptions[n], c.optionFields[n]);
}

void frmMain::setToolTips()
{
    FormControls &c = m_controls;
    const QString name = QStringLiteral("Choose or type a name of your NPC.");
    c.txtName->setToolTip(name);
    c.nameCaption->setToolTip(name);
    c.loadButton->setToolTip(QStringLiteral("Load NPC names from an ESM\\ESP file."));
    const QString time = QStringLiteral("Specify the time for the task at hand.");
    c.cmbTime->setToolTip(time);
    c.timeCaption->setToolTip(time);
    const QString task = QStringLiteral("What should the NPC do in the specified time.");
    c.cmbTask->setToolTip(task);
    c.actionCaption->setToolTip(task);
    c.chkLOS->setToolTip(
        QStringLiteral("Checking this will make certain actions, such as appearing and "
                       "disappearing happen only if the player isn't looking."));
    c.chkGlobal->setToolTip(
        QStringLiteral("Removes the \"FPS guards,\" so you can write your own local central "
                       "script, or use the template supplied with the program."));
    c.chkEqual->setToolTip(
        QStringLiteral("Checking this will make the program use a \"equal to\" check instead of "
                       "the default \"equal or less than\"."));
    c.cmdAdd->setToolTip(QStringLiteral("Add the selected action\\time to the Tasks List."));
    c.cmdRemove->setToolTip(QStringLiteral("Remove the selected actions from the Tasks List."));
    c.lstTasks->setToolTip(
        QStringLiteral("The list of all tasks in this NPC's schedule. Double-click an entry (or "
                       "press Enter) to load it into the fields above; Edit › Replace Task "
                       "(Ctrl+R) puts it back changed."));
    c.generateButton->setToolTip(QStringLiteral("Generate a script from the whole Tasks List."));
    c.selectionButton->setToolTip(
        QStringLiteral("Generate a script from only the selected items in the Tasks List."));
    c.centralScriptButton->setToolTip(
        QStringLiteral("Generate a script template which would be \"\"local\"\", and call the "
                       "rest of the scripts as \"globals\"."));
    c.txtScript->setToolTip(QStringLiteral("Where the script is generated."));
}

void frmMain::setAccessibleNames()
{
    FormControls &c = m_controls;
    // Each control is named after its caption; the option fields get theirs
    // with each action's layout. Descriptions come from the tooltips, which
    // the lists and the name box's text box do not read by themselves.
    nameAfter(c.txtName, c.nameCaption);
    c.txtName->lineEdit()->setAccessibleName(c.txtName->accessibleName());
    c.txtName->lineEdit()->setAccessibleDescription(c.txtName->toolTip());
    nameAfter(c.cmbTime, c.timeCaption);
    nameAfter(c.cmbTask, c.actionCaption);
    nameAfter(c.lstTasks, c.scheduleCaption);
    c.lstTasks->setAccessibleDescription(c.lstTasks->toolTip());
    nameAfter(c.txtScript, c.scriptCaption);
}

void frmMain::setTabOrder()
{
    FormControls &c = m_controls;
    QList<QWidget *> order = {c.txtName, c.loadButton, c.cmbTime, c.cmbTask, c.chkLOS, c.chkGlobal};
    for (QLineEdit *box : c.optionFields)
        order.append(box);
    order.append({c.chkEqual, c.cmdAdd, c.cmdRemove, c.lstTasks, c.centralScriptButton,
                  c.generateButton, c.selectionButton, c.txtScript});
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmMain::connectHandlers()
{
    FormControls &c = m_controls;
    // textChanged, not textEdited: a change made by the program counts too.
    connect(c.txtName->lineEdit(), &QLineEdit::textChanged, this, [this] { txtName_Change(); });
    connect(c.loadButton, &QPushButton::clicked, this, [this] { loadButton_Click(); });
    connect(c.cmbTask, &QComboBox::currentIndexChanged, this, [this] { cmbTask_Click(); });
    connect(c.cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(c.cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(c.lstTasks, &QListWidget::itemDoubleClicked, this, [this] { lstTasks_DblClick(); });
    connect(c.lstTasks, &ListBox::pasteRequested, this, [this] { lstTasks_Paste(); });
    connect(c.lstTasks, &ListBox::returnPressed, this, [this] { lstTasks_DblClick(); });
    connect(c.lstTasks, &ListBox::deletePressed, this, [this] { lstTasks_Delete(); });
    for (int i = 0; i < 3; ++i)
        connect(c.generateButtons()[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdGenerate_Click(i); });
}

std::array<QColor, 3> frmMain::shapeColours() const
{
    // The nearest roles of the platform's palette to the colours of a desktop,
    // an inactive title bar and its text: dark, mid-grey, dark.
    const QPalette &p = palette();
    return {p.color(QPalette::Shadow), p.color(QPalette::Inactive, QPalette::Mid),
            p.color(QPalette::Dark)};
}

void frmMain::paintEvent(QPaintEvent *)
{
    // The outlines lie on the window's surface, beneath every control.
    QPainter painter(this);
    const auto rects = shapeRects();
    const auto colours = shapeColours();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        painter.setPen(colours[i]);
        // A one-pixel outline covers one pixel more than the rectangle's size.
        painter.drawRect(rects[i].adjusted(0, 0, -1, -1));
    }
}

void frmMain::applyLayoutRule(QSize client)
{
    FormControls &c = m_controls;
    const float w = static_cast<float>(client.width());
    const float h = static_cast<float>(client.height());
    // Both tests keep every size set below positive; a minimised window (empty
    // client area) keeps its layout.
    if (!(w - 314 > 30 && h - 24 > 30))
        return;
    c.txtScript->resize(static_cast<int>(w - 316), static_cast<int>(h - 24));
    if (!(h - 300 > 8))
        return;
    QRect list = c.lstTasks->geometry();
    list.setHeight(static_cast<int>(h - 320));
    c.lstTasks->setIntegralGeometry(list);
    for (WrapButton *button : c.generateButtons())
        button->move(button->x(), static_cast<int>(h - 37));
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    applyLayoutRule(isMinimized() ? QSize(0, 0) : size());
}

void frmMain::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        applyLayoutRule(isMinimized() ? QSize(0, 0) : size());
}

} // namespace hw
