#include "ui/form/candidate_popup.hpp"

#include <QAbstractListModel>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace hw {

namespace {

// The list shows this many entries at once and scrolls for the others.
constexpr std::size_t kVisibleRows = 10;
// It holds at most this many, and then a last line that says how many more
// there are: a list view lays out every row, and a keystroke that lists
// 100,000 ids would take tens of milliseconds.
constexpr std::size_t kMostListed = 500;
// The list is as wide as the widest of its first entries (measuring each of
// tens of thousands would cost more than a keystroke may), and at least as
// wide as the field.
constexpr std::size_t kMeasuredRows = 50;

} // namespace

/// The entries of the list: a range of a borrowed completion list, each
/// converted when the view asks for it.
class CandidateModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    void set(const CompletionList &list, std::size_t first, std::size_t count)
    {
        beginResetModel();
        m_list = list;
        m_first = first;
        m_count = count;
        endResetModel();
    }

    /// The rows that are entries (the others say how many more there are).
    int entries() const { return static_cast<int>(std::min(m_count, kMostListed)); }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : entries() + (m_count > kMostListed ? 1 : 0);
    }

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override
    {
        if (!index.isValid() || index.row() >= rowCount() ||
            (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        if (index.row() >= entries())
            return QStringLiteral("…and %L1 more: type on to narrow the list")
                .arg(static_cast<qulonglong>(m_count - kMostListed));
        const std::string_view text = m_list[m_first + static_cast<std::size_t>(index.row())];
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid() || index.row() >= entries())
            return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

private:
    CompletionList m_list;
    std::size_t m_first = 0, m_count = 0;
};

CandidatePopup::CandidatePopup(QLineEdit &field, QWidget &keyTarget)
    : QObject(&field)
    , m_field(field)
    , m_keyTarget(keyTarget)
{
    m_keyTarget.installEventFilter(this);
}

CandidatePopup::~CandidatePopup() = default;

void CandidatePopup::createView()
{
    // A child of the field, so that the field's caret goes on blinking while
    // the list is open; a popup, so that a click anywhere else closes it.
    m_view = new QListView;
    m_view->setParent(&m_field, Qt::Popup);
    m_view->setObjectName(QStringLiteral("lstCandidates"));
    m_view->setAccessibleName(QStringLiteral("Completions"));
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->setFocusProxy(&m_keyTarget);
    m_view->setUniformItemSizes(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_model = new CandidateModel(m_view);
    m_view->setModel(m_model);
    m_view->installEventFilter(this);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { moved(current); });
    connect(m_view, &QListView::clicked, this, [this](const QModelIndex &index) { take(index); });
}

void CandidatePopup::show(const CompletionList &list, std::size_t first, std::size_t count,
                          const QString &typed)
{
    if (count == 0 || !m_keyTarget.hasFocus()) {
        hide();
        return;
    }
    if (!m_view)
        createView();
    m_typed = typed;
    // The first entry is the one the field already shows completed.
    m_filling = true;
    m_model->set(list, first, count);
    m_view->setCurrentIndex(m_model->index(0));
    m_filling = false;
    place();
    if (!m_view->isVisible())
        m_view->show();
}

void CandidatePopup::place()
{
    const auto all = static_cast<std::size_t>(m_model->rowCount());
    const std::size_t rows = std::min(all, kVisibleRows);
    const QSize first = m_view->sizeHintForIndex(m_model->index(0));
    const int rowHeight = std::max(1, first.height());
    const int frame = 2 * m_view->frameWidth();
    // The text's width and the item's margins, measured once.
    const QFontMetrics metrics(m_view->font());
    const int margins =
        first.width() - metrics.horizontalAdvance(m_model->index(0).data().toString());
    int width = 0;
    for (int row = 0; row < static_cast<int>(std::min(all, kMeasuredRows)); ++row)
        width = std::max(width, metrics.horizontalAdvance(m_model->index(row).data().toString()));
    width += margins + frame + (all > rows ? m_view->verticalScrollBar()->sizeHint().width() : 0);
    const int height = static_cast<int>(rows) * rowHeight + frame;

    // Under the field, or above it where the screen ends below.
    const QRect room = m_keyTarget.screen()->availableGeometry();
    width = std::clamp(width, m_keyTarget.width(), std::max(m_keyTarget.width(), room.width()));
    const QPoint top = m_keyTarget.mapToGlobal(QPoint(0, 0));
    int y = top.y() + m_keyTarget.height();
    if (y + height > room.bottom() + 1 && top.y() - height >= room.top())
        y = top.y() - height;
    const int x = std::clamp(top.x(), room.left(), std::max(room.left(), room.right() + 1 - width));
    m_view->setGeometry(x, y, width, height);
}

void CandidatePopup::hide()
{
    if (!m_view)
        return;
    m_view->hide();
    m_model->set({}, 0, 0);
}

bool CandidatePopup::isVisible() const
{
    return m_view && m_view->isVisible();
}

void CandidatePopup::moved(const QModelIndex &current)
{
    if (m_filling || !current.isValid())
        return;
    // The field shows the entry as the completion shows the first: the typed
    // letters as typed, the rest selected, so that typing on replaces it.
    const QString entry = current.data().toString();
    if (entry.size() < m_typed.size())
        return;
    const QString shown = m_typed + entry.mid(m_typed.size());
    m_settingText = true;
    m_field.setText(shown);
    m_field.setSelection(static_cast<int>(m_typed.size()),
                         static_cast<int>(shown.size() - m_typed.size()));
    m_settingText = false;
}

void CandidatePopup::take(const QModelIndex &index)
{
    // The line that says how many more there are is no entry.
    if (!(index.flags() & Qt::ItemIsSelectable))
        return;
    // The id as the list has it, with the caret after it.
    m_settingText = true;
    m_field.setText(index.data().toString());
    m_settingText = false;
    hide();
}

bool CandidatePopup::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_keyTarget) {
        // The list belongs to the field while the author types there; it
        // goes when the focus moves on (other than to the list itself).
        const bool left = event->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason;
        if (isVisible() && (left || event->type() == QEvent::Hide))
            hide();
        return false;
    }
    if (watched != m_view)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return false; // the list moves
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (m_view->currentIndex().isValid())
                take(m_view->currentIndex());
            else
                hide();
            return true;
        case Qt::Key_Escape:
            hide();
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            hide();
            QCoreApplication::sendEvent(&m_keyTarget, event);
            return true;
        default:
            // Typed on in the field, through its filters, as if the list
            // were not there.
            QCoreApplication::sendEvent(&m_keyTarget, event);
            if (!m_keyTarget.hasFocus())
                hide();
            return true;
        }
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
        QCoreApplication::sendEvent(&m_keyTarget, event);
        return true;
    case QEvent::MouseButtonPress: {
        // A press outside the list reaches it while it is open; it closes it.
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (!m_view->rect().contains(at)) {
            hide();
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

} // namespace hw
