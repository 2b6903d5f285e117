#include "ui/JournalTableModel.h"

#include "calls/AppContext.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"

#include <QColor>

namespace {

constexpr std::array<int, JournalTableModel::kColumnCount> kHeadingIds = {
    lang_id::kColumnCaller, lang_id::kMsn, lang_id::kDate, lang_id::kTime,
    lang_id::kColumnEndReason};
constexpr std::array<int, JournalTableModel::kColumnCount> kWidthDivisors = {5, 6, 7, 8, 3};
constexpr int kEndReasonColumn = 4;
// Names are kept for the numbers shown; a long scroll through the journal starts afresh.
constexpr std::size_t kMaxCachedNames = 4096;

} // namespace

JournalTableParts JournalTableParts::of(AppContext& context) {
    return {context.language, context.journal, context.phonebook, context.msnList,
            context.contacts};
}

JournalTableModel::JournalTableModel(const JournalTableParts& parts, QObject* parent)
    : QAbstractTableModel(parent), m_parts(parts), m_rows(parts.journal.size()),
      m_phonebookRevision(parts.phonebook.revision()), m_msnRevision(parts.msnList.revision()) {
    for (int column = 0; column < kColumnCount; ++column) {
        m_headings[column] = qs(m_parts.language.text(kHeadingIds[column]));
    }
    m_parts.journal.addObserver(this);
}

JournalTableModel::~JournalTableModel() {
    m_parts.journal.removeObserver(this);
}

int JournalTableModel::widthDivisor(int column) {
    return column >= 0 && column < kColumnCount ? kWidthDivisors[column] : 1;
}

void JournalTableModel::refresh() {
    for (int column = 0; column < kColumnCount; ++column) {
        m_headings[column] = qs(m_parts.language.text(kHeadingIds[column]));
    }
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
    if (m_rows != m_parts.journal.size()) {
        beginResetModel();
        m_rows = m_parts.journal.size();
        m_callerNames.clear();
        m_msnNames.clear();
        endResetModel();
    }
    forgetOutdatedNames();
}

void JournalTableModel::forgetOutdatedNames() {
    const auto phonebook = m_parts.phonebook.revision();
    const auto msnList = m_parts.msnList.revision();
    if (phonebook == m_phonebookRevision && msnList == m_msnRevision) {
        return;
    }
    m_phonebookRevision = phonebook;
    m_msnRevision = msnList;
    m_callerNames.clear();
    m_msnNames.clear();
    if (m_rows > 0) {
        emit dataChanged(index(0, 0), index(m_rows - 1, 1), {Qt::DisplayRole});
    }
}

void JournalTableModel::journalChanging(Change change, int journalIndex) {
    switch (change) {
    case Change::Added:
        // The journal grows at its end, the table at its top.
        beginInsertRows({}, 0, 0);
        break;
    case Change::Removed:
        beginRemoveRows({}, rowOf(journalIndex), rowOf(journalIndex));
        break;
    case Change::Replaced:
        beginResetModel();
        break;
    case Change::Updated:
        break;
    }
}

void JournalTableModel::journalChanged(Change change, int journalIndex) {
    switch (change) {
    case Change::Added:
        ++m_rows;
        endInsertRows();
        break;
    case Change::Removed:
        --m_rows;
        endRemoveRows();
        break;
    case Change::Replaced:
        m_rows = m_parts.journal.size();
        m_callerNames.clear();
        m_msnNames.clear();
        endResetModel();
        break;
    case Change::Updated: {
        const QModelIndex cell = index(rowOf(journalIndex), kEndReasonColumn);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
        break;
    }
    }
}

const QString& JournalTableModel::cachedName(NameCache& cache, const std::string& key,
                                             const std::string& name) const {
    if (cache.size() >= kMaxCachedNames) {
        cache.clear();
    }
    return cache.try_emplace(key, qs(name)).first->second;
}

int JournalTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int JournalTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant JournalTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows || index.column() >= kColumnCount) {
        return {};
    }
    const int journalIndex = rowOf(index.row());
    const JournalRecord& record = m_parts.journal.recordAt(journalIndex);
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case 0: {
            const auto found = m_callerNames.find(record.number);
            return found != m_callerNames.end()
                       ? found->second
                       : cachedName(
                             m_callerNames, record.number,
                             callerNameOf(m_parts.phonebook, m_parts.contacts, record.number));
        }
        case 1: {
            const auto found = m_msnNames.find(record.msn);
            return found != m_msnNames.end()
                       ? found->second
                       : cachedName(m_msnNames, record.msn, m_parts.msnList.nameOf(record.msn));
        }
        case 2:
            return qs(record.date);
        case 3:
            return qs(record.time);
        default:
            return qs(record.endReason);
        }
    case Qt::ToolTipRole:
        // A name from an address book tells which one.
        if (const auto match = m_parts.contacts.find(record.number);
            match && m_parts.phonebook.nameOf(record.number) == record.number) {
            return qs(record.number) + "\n" + qs(m_parts.language.text(lang_id::kNameFrom)) + " " +
                   qs(match->source);
        }
        return qs(record.number);
    case JournalIndexRole:
        return journalIndex;
    case MissedRole:
        return m_isMissed && m_isMissed(record);
    case Qt::ForegroundRole:
        return m_isMissed && m_isMissed(record) ? QVariant(QColor(Qt::red)) : QVariant();
    default:
        return {};
    }
}

void JournalTableModel::setMissedTest(std::function<bool(const JournalRecord&)> isMissed) {
    m_isMissed = std::move(isMissed);
    missedCallsChanged();
}

void JournalTableModel::missedCallsChanged() {
    if (m_rows > 0) {
        emit dataChanged(index(0, 0), index(m_rows - 1, kColumnCount - 1),
                         {MissedRole, Qt::ForegroundRole});
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
