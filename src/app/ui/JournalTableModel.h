#pragma once

#include "stores/CallJournal.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

struct AppContext;
class ContactIndex;
class LanguageTable;
class MsnList;
class Phonebook;

/// What the journal table reads: the journal it follows, the lists that name callers and MSNs,
/// and the texts.
struct JournalTableParts {
    const LanguageTable& language;
    CallJournal& journal;
    const Phonebook& phonebook;
    const MsnList& msnList;
    const ContactIndex& contacts;

    static JournalTableParts of(AppContext& context);
};

/// The call journal as a table, newest call first: caller (phonebook name), MSN (MSN list
/// name), date, time and end reason. Each row's tooltip is the record's number; its tag
/// (JournalIndexRole) is the record's index in the journal. The table follows the journal
/// change by change and reads a row's texts only when it is shown; the names are kept per
/// number and looked up again at the refresh after the phonebook or MSN list changed.
class JournalTableModel : public QAbstractTableModel, public JournalObserver {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 5;
    static constexpr int JournalIndexRole = Qt::UserRole + 1;
    /// True for the row of a missed call the user has not looked at yet.
    static constexpr int MissedRole = Qt::UserRole + 2;

    explicit JournalTableModel(const JournalTableParts& parts, QObject* parent = nullptr);
    ~JournalTableModel() override;

    /// Fetches the headings from the language tables and the names from the lists as they are
    /// now; a table that lost track of the journal is read again.
    void refresh();
    /// Tells the rows of missed calls, which are marked in red.
    void setMissedTest(std::function<bool(const JournalRecord&)> isMissed);
    /// The missed calls were counted anew (acknowledged, restored): their marks change.
    void missedCallsChanged();

    /// The divisor of the list width that gives a column's width.
    static int widthDivisor(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void journalChanging(Change change, int index) override;
    void journalChanged(Change change, int index) override;

private:
    using NameCache = std::unordered_map<std::string, QString>;

    int rowOf(int journalIndex) const { return m_rows - journalIndex; }
    const QString& cachedName(NameCache& cache, const std::string& key,
                              const std::string& name) const;
    void forgetOutdatedNames();

    JournalTableParts m_parts;
    int m_rows = 0; // the journal's records as the table shows them
    std::array<QString, kColumnCount> m_headings;
    mutable NameCache m_callerNames;
    mutable NameCache m_msnNames;
    std::uint64_t m_phonebookRevision = 0;
    std::uint64_t m_msnRevision = 0;
    std::function<bool(const JournalRecord&)> m_isMissed;
};
