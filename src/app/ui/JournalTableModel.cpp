#include "ui/JournalTableModel.h"

#include "calls/AppContext.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"

namespace {

constexpr std::array<int, JournalTableModel::kColumnCount> kHeadingIds = {
    lang_id::kColumnCaller, lang_id::kMsn, lang_id::kDate, lang_id::kTime,
    lang_id::kColumnEndReason};
constexpr std::array<int, JournalTableModel::kColumnCount> kWidthDivisors = {5, 6, 7, 8, 3};

} // namespace

JournalTableModel::JournalTableModel(const AppContext& context, QObject* parent)
    : QAbstractTableModel(parent), m_context(context) {}

JournalTableModel::~JournalTableModel() = default;

int JournalTableModel::widthDivisor(int column) {
    return column >= 0 && column < kColumnCount ? kWidthDivisors[column] : 1;
}

void JournalTableModel::reload() {
    beginResetModel();
    for (int column = 0; column < kColumnCount; ++column) {
        m_headings[column] = qs(m_context.language.text(kHeadingIds[column]));
    }
    const CallJournal& journal = m_context.journal;
    const int size = journal.size();
    m_rows.clear();
    m_rows.reserve(static_cast<std::size_t>(std::max(size, 0)));
    for (int i = size; i >= 1; --i) {
        const JournalRecord& record = journal.recordAt(i);
        Row row;
        row.cells = {qs(m_context.callerName(record.number)),
                     qs(m_context.msnList.nameOf(record.msn)), qs(record.date), qs(record.time),
                     qs(record.endReason)};
        row.number = qs(record.number);
        row.journalIndex = i;
        m_rows.push_back(std::move(row));
    }
    endResetModel();
}

int JournalTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int JournalTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant JournalTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumnCount) {
        return {};
    }
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return row.cells[static_cast<std::size_t>(index.column())];
    case Qt::ToolTipRole:
        // A name from an address book tells which one.
        if (const auto match = m_context.contacts.find(ss(row.number));
            match && qs(match->name) == row.cells[0]) {
            return row.number + "\n" + qs(m_context.language.text(lang_id::kNameFrom)) + " " +
                   qs(match->source);
        }
        return row.number;
    case JournalIndexRole:
        return row.journalIndex;
    default:
        return {};
    }
}

QVariant JournalTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return m_headings[static_cast<std::size_t>(section)];
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags JournalTableModel::flags(const QModelIndex& index) const {
    // Selectable, never editable in place.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
