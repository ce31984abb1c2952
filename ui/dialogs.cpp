#include "dialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

// Each box lives on the heap behind a guard: a session event handled inside
// the box's event loop may close and delete the window that owns it, and the
// box then goes with its owner. The guard lets exec() return as a refusal
// (No, Cancel) instead of deleting the box a second time.
namespace {
int runGuarded(QMessageBox *box)
{
    QPointer<QMessageBox> guard(box);
    const int result = box->exec();
    delete guard.data();
    return result;
}
} // namespace

bool QtDialogs::askYesNo(QWidget *parent, const QString &text, const QString &title)
{
    auto *box = new QMessageBox(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    return runGuarded(box) == QMessageBox::Yes;
}

void QtDialogs::notice(QWidget *parent, const QString &text, const QString &title)
{
    auto *box = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    runGuarded(box);
}

QString QtDialogs::askText(QWidget *parent, const QString &prompt, const QString &title, const QString &defaultText)
{
    QPointer<QInputDialog> dialog = new QInputDialog(parent);
    dialog->setWindowTitle(title);
    dialog->setLabelText(prompt);
    dialog->setTextValue(defaultText);
    dialog->setInputMode(QInputDialog::TextInput);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    // Gone with its owner means cancelled: nothing typed is taken.
    const QString text = accepted && dialog ? dialog->textValue() : QString();
    delete dialog.data();
    return text;
}

QString QtDialogs::askChoice(QWidget *parent, const QString &prompt, const QString &title, const QStringList &choices,
                             const QString &defaultText)
{
    QPointer<QInputDialog> dialog = new QInputDialog(parent);
    dialog->setWindowTitle(title);
    dialog->setLabelText(prompt);
    dialog->setComboBoxItems(choices);
    dialog->setComboBoxEditable(true);
    dialog->setTextValue(defaultText);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    const QString text = accepted && dialog ? dialog->textValue() : QString();
    delete dialog.data();
    return text;
}
