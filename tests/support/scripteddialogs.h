#pragma once

// Dialogs for widget tests: answers come from a queue, every question and
// notice is recorded. An unexpected question fails the test instead of
// waiting for a person.

#include "dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class ScriptedDialogs final : public Dialogs
{
public:
    struct Shown
    {
        enum Kind { YesNo, Notice, Text, Choice } kind;
        QString text;
        QString title;
    };

    bool askYesNo(QWidget *parent, const QString &text, const QString &title) override;
    void notice(QWidget *parent, const QString &text, const QString &title) override;
    QString askText(QWidget *parent, const QString &prompt, const QString &title, const QString &defaultText) override;
    // Answered from textAnswers, like an input box.
    QString askChoice(QWidget *parent, const QString &prompt, const QString &title, const QStringList &choices,
                      const QString &defaultText) override;

    QList<bool> yesNoAnswers;
    QStringList textAnswers;
    QList<Shown> shown;
    QStringList defaultsOffered; // the default text of each input box
    QList<QStringList> choicesOffered; // the choices of each box that offered some
    // Runs once inside the next box, as an event handled by a real box's own
    // event loop would (a dropped connection while a notice is up).
    std::function<void()> whileOpen;

private:
    void runWhileOpen();
};
