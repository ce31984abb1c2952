#include "desktopuser.h"

#include "conversation/frmaimchat.h"
#include "conversation/frmaimim.h"
#include "main/chatslots.h"
#include "session/screenname.h"
#include "session/wiretext.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

DesktopUser::DesktopUser(quint16 port)
    : main(dialogs, windows, ServerAddress{QStringLiteral("127.0.0.1"), port})
{
    main.show();
}

DesktopUser::~DesktopUser()
{
    // Conversations have no parent; windows closed just before are deleted
    // later. Both go while what they use still exists.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget *window : windows.windows()) {
        if (qobject_cast<frmAimIM *>(window))
            delete window;
    }
}

bool DesktopUser::signOn(const QString &name, const QString &password, int timeoutMs)
{
    main.txtSn->setText(name);
    main.txtPw->setText(password);
    QTest::mouseClick(main.cmdLogin, Qt::LeftButton);
    return QTest::qWaitFor([this] { return isSignedOn(); }, timeoutMs);
}

bool DesktopUser::isSignedOn()
{
    return main.Frame1->isVisible() && main.signOnFlow().state() == SignOnFlow::State::SignedOn;
}

frmAimIM *DesktopUser::openConversation(const QString &name)
{
    dialogs.textAnswers << name;
    QTest::mouseClick(main.imgIM, Qt::LeftButton);
    return conversationWith(name);
}

frmAimIM *DesktopUser::conversationWith(const QString &name)
{
    const int position = main.FormByTag(WireText::fromWire(ScreenName::NormalizeName(WireText::toWire(name))));
    return position < 0 ? nullptr : qobject_cast<frmAimIM *>(windows.windows().at(position));
}

frmAimChat *DesktopUser::joinRoom(const QString &room, int exchange, int timeoutMs)
{
    dialogs.textAnswers << room << QString::number(exchange);
    QTest::mouseClick(main.imgChat, Qt::LeftButton);
    frmAimChat *joined = nullptr;
    (void)QTest::qWaitFor(
        [&] {
            for (frmAimChat *window : rooms()) {
                if (window->roomName().compare(room, Qt::CaseInsensitive) == 0 && window->isVisible())
                    joined = window;
            }
            return joined != nullptr;
        },
        timeoutMs);
    return joined;
}

QList<frmAimChat *> DesktopUser::rooms()
{
    QList<frmAimChat *> inRooms;
    for (int slot = 1; slot <= ChatSlots::SlotCount; ++slot) {
        if (frmAimChat *window = main.chatSlots().existingWindow(slot); window && window->isInRoom())
            inRooms << window;
    }
    return inRooms;
}

void DesktopUser::say(frmAimIM *window, const QString &text)
{
    window->txtMessage->setText(text);
    QTest::keyClick(window->txtMessage, Qt::Key_Return);
}

void DesktopUser::say(frmAimChat *room, const QString &text)
{
    room->txtMessage->setPlainText(text);
    QTest::keyClick(room->txtMessage, Qt::Key_Return);
}
