#pragma once

// The one seam through which every window asks the user something or tells
// them something. Production shows Qt's boxes; tests answer from a script.
// Every text is shown as plain text: server and user text is never markup.

#include <QString>
#include <QStringList>

class QWidget;

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A Yes/No question; true for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &text, const QString &title) = 0;
    // A notice with an OK button and the information icon.
    virtual void notice(QWidget *parent, const QString &text, const QString &title) = 0;
    // An input box; a cancelled box gives the empty text.
    virtual QString askText(QWidget *parent, const QString &prompt, const QString &title, const QString &defaultText)
        = 0;
    // An input box offering choices; anything else may be typed too. A
    // cancelled box gives the empty text.
    virtual QString askChoice(QWidget *parent, const QString &prompt, const QString &title, const QStringList &choices,
                              const QString &defaultText)
        = 0;
};

class QtDialogs final : public Dialogs
{
public:
    bool askYesNo(QWidget *parent, const QString &text, const QString &title) override;
    void notice(QWidget *parent, const QString &text, const QString &title) override;
    QString askText(QWidget *parent, const QString &prompt, const QString &title, const QString &defaultText) override;
    QString askChoice(QWidget *parent, const QString &prompt, const QString &title, const QStringList &choices,
                      const QString &defaultText) override;
};
