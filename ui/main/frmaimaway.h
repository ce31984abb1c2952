#pragma once

// frmAimAway: shows the away text in force and ends the away state. It holds
// the away text exactly as chosen and the names already answered in this away
// period; the away actions decide what happens, this window only shows it.

#include <QByteArray>
#include <QString>
#include <QWidget>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

class frmAimAway : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAimAway)
public:
    explicit frmAimAway(QWidget *parent = nullptr);

    QPlainTextEdit *txtAway; // read-only: the server has exactly this text
    QPushButton *cmdBack;
    QListWidget *lstAr; // answered names as received; never shown

    // The text behind txtAway, unchanged: the view would fold some characters.
    void setAwayText(const QString &text);
    QString awayText() const { return m_awayText; }

    // Names compared byte for byte, as the server wrote them.
    bool hasAnswered(const QByteArray &name) const;
    void addAnswered(const QByteArray &name);
    void clearAnswered();

signals:
    // "I'm Back", or the window closed by its frame: both end the away state.
    void backRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QString m_awayText;
};
