// Qt's own boxes behind the dialogs seam, for the one thing only a real box
// shows: its owner may be deleted while it waits for the user.

#include "dialogs.h"

#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <functional>

namespace {

TEST(QtDialogs, ABoxWhoseOwnerIsDeletedWhileItIsUpReturnsAsARefusal)
{
    QtDialogs dialogs;
    const std::pair<const char *, std::function<bool(QWidget *)>> boxes[] = {
        {"yes/no",
         [&](QWidget *owner) { return dialogs.askYesNo(owner, QStringLiteral("Leave?"), QStringLiteral("Qiv")); }},
        {"notice",
         [&](QWidget *owner) {
             dialogs.notice(owner, QStringLiteral("Gone"), QStringLiteral("Qiv"));
             return false;
         }},
        {"text",
         [&](QWidget *owner) {
             return !dialogs.askText(owner, QStringLiteral("Name:"), QStringLiteral("IM"), QStringLiteral("typed"))
                         .isEmpty();
         }},
        {"choice",
         [&](QWidget *owner) {
             return !dialogs
                         .askChoice(owner, QStringLiteral("Group:"), QStringLiteral("Move"), {QStringLiteral("Work")},
                                    QStringLiteral("Work"))
                         .isEmpty();
         }},
    };
    for (const auto &[kind, ask] : boxes) {
        SCOPED_TRACE(kind);
        auto *owner = new QWidget;
        owner->show();
        // Runs inside the box's event loop, as a session event would.
        QTimer::singleShot(0, [owner] { delete owner; });
        EXPECT_FALSE(ask(owner));
    }
}

} // namespace
