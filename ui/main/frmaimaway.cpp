#include "frmaimaway.h"

#include "escapekey.h"
#include "productinfo.h"
#include "session/wiretext.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int WireNameRole = Qt::UserRole;
}

frmAimAway::frmAimAway(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , txtAway(new QPlainTextEdit(this))
    , cmdBack(new QPushButton(tr("I'm Back"), this))
    , lstAr(new QListWidget(this))
{
    setObjectName(QStringLiteral("frmAimAway"));
    setWindowTitle(ProductInfo::caption(QStringLiteral("Away")));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    txtAway->setObjectName(QStringLiteral("txtAway"));
    txtAway->setReadOnly(true);
    txtAway->setMinimumSize(241, 81);
    txtAway->setAccessibleName(tr("Away message"));
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdBack->setDefault(true);
    lstAr->setObjectName(QStringLiteral("lstAr"));
    lstAr->hide();

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(9, 9, 9, 9);
    column->setSpacing(8);
    column->addWidget(txtAway, 1);
    column->addWidget(cmdBack, 0, Qt::AlignHCenter);
    // Opens at its classic size; a long away message gets the room added.
    resize(259, 129);

    connect(cmdBack, &QPushButton::clicked, this, &frmAimAway::backRequested);
    // Escape closes like the frame does, which ends the away state as I'm Back would.
    EscapeKey::leavesBy(this, [this] { close(); });
    cmdBack->setAccessibleDescription(tr("Takes the away message down"));
    txtAway->setAccessibleDescription(tr("The away message people get while you are away"));
}

void frmAimAway::setAwayText(const QString &text)
{
    m_awayText = text;
    txtAway->setPlainText(text);
}

bool frmAimAway::hasAnswered(const QByteArray &name) const
{
    for (int row = 0; row < lstAr->count(); ++row) {
        if (lstAr->item(row)->data(WireNameRole).toByteArray() == name)
            return true;
    }
    return false;
}

void frmAimAway::addAnswered(const QByteArray &name)
{
    auto *item = new QListWidgetItem(WireText::fromWire(name));
    item->setData(WireNameRole, name);
    lstAr->addItem(item);
}

void frmAimAway::clearAnswered() { lstAr->clear(); }

void frmAimAway::closeEvent(QCloseEvent *event)
{
    // Closing by the frame must not leave the program answering people with an
    // away text nobody can see any more.
    event->accept();
    emit backRequested();
}
