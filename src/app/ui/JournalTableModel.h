#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <functional>
#include <vector>

struct AppContext;
struct JournalRecord;

/// The call journal as a table, newest call first: caller (phonebook name), MSN (MSN list
/// name), date, time and end reason. Each row's tooltip is the record's number; its tag
/// (JournalIndexRole) is the record's index in the journal.
class JournalTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 5;
    static constexpr int JournalIndexRole = Qt::UserRole + 1;
    /// True for the row of a missed call the user has not looked at yet.
    static constexpr int MissedRole = Qt::UserRole + 2;

    explicit JournalTableModel(const AppContext& context, QObject* parent = nullptr);
    ~JournalTableModel() override;

    /// Reads the journal again and fetches the headings from the language tables.
    void reload();
    /// Tells the rows of missed calls, which are marked in red.
    void setMissedTest(std::function<bool(const JournalRecord&)> isMissed);

    /// The divisor of the list width that gives a column's width.
    static int widthDivisor(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Row {
        std::array<QString, kColumnCount> cells;
        QString number;
        int journalIndex = 0;
    };

    bool isMissedRow(const Row& row) const;

    const AppContext& m_context;
    std::vector<Row> m_rows;
    std::array<QString, kColumnCount> m_headings;
    std::function<bool(const JournalRecord&)> m_isMissed;
};
