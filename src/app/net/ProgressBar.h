#pragma once

#include <QWidget>

/// The update window's progress bar (`picProgress`): a dark blue bar over the share done and
/// the percent in the middle, white where it stands on the bar, else black. Empty while
/// nothing has arrived or the size is unknown.
class ProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    void setProgress(qint64 value, qint64 highest);
    /// The percent as shown, e.g. "42 %"; empty when the bar is empty.
    QString text() const;

    static const QColor kBarColour;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qint64 m_value = 0;
    qint64 m_highest = 0;
};
