#pragma once

// TranscriptLinks: rides on a transcript view and opens its links, on a
// click or on Enter with the caret in one, through the opener it is given.
// The view stays read-only, its caret moves with the keyboard so that every
// link can be reached, and Tab still leaves it. Only a view it rides on gets
// links from the transcript writer.

#include "urlopener.h"

#include <QObject>
#include <QString>

class QTextEdit;

class TranscriptLinks : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TranscriptLinks)
public:
    // opener must outlive view; a link nothing opens gets a notice in view.
    static void attach(QTextEdit *view, const UrlOpener &opener);
    static bool isAttached(const QTextEdit *view);

    // The address of the link the caret is in (or at either end of), else empty.
    static QString linkAtCaret(const QTextEdit *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TranscriptLinks(QTextEdit *view, const UrlOpener &opener);
    void open(const QString &address);

    QTextEdit *m_view;
    // Compared with, never called: the view deletes its viewport after it
    // has stopped being a text view, and the viewport's last events still
    // pass this filter.
    const QObject *m_viewport;
    const UrlOpener &m_opener;
    // The link under the mouse button when it went down: a drag that ends on
    // a link opens nothing.
    QString m_pressed;
};
