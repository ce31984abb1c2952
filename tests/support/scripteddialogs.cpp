#include "scripteddialogs.h"

#include <gtest/gtest.h>
#include <utility>

bool ScriptedDialogs::askYesNo(QWidget *, const QString &text, const QString &title)
{
    shown.append({Shown::YesNo, text, title});
    runWhileOpen();
    if (yesNoAnswers.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;
    }
    return yesNoAnswers.takeFirst();
}

void ScriptedDialogs::notice(QWidget *, const QString &text, const QString &title)
{
    shown.append({Shown::Notice, text, title});
    runWhileOpen();
}

QString ScriptedDialogs::askText(QWidget *, const QString &prompt, const QString &title, const QString &defaultText)
{
    shown.append({Shown::Text, prompt, title});
    defaultsOffered.append(defaultText);
    runWhileOpen();
    if (textAnswers.isEmpty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return QString();
    }
    return textAnswers.takeFirst();
}

QString ScriptedDialogs::askChoice(QWidget *, const QString &prompt, const QString &title, const QStringList &choices,
                                   const QString &defaultText)
{
    shown.append({Shown::Choice, prompt, title});
    defaultsOffered.append(defaultText);
    choicesOffered.append(choices);
    runWhileOpen();
    if (textAnswers.isEmpty()) {
        ADD_FAILURE() << "unexpected choice box: " << prompt.toStdString();
        return QString();
    }
    return textAnswers.takeFirst();
}

void ScriptedDialogs::runWhileOpen()
{
    if (auto event = std::exchange(whileOpen, nullptr))
        event();
}
