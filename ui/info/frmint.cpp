#include "frmint.h"

#include "dialogs.h"
#include "escapekey.h"
#include "artwork.h"
#include "iconbutton.h"
#include "productinfo.h"
#include "updatecheck.h"
#include "windowregistry.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QLabel *centredLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// Drawn to span the window inside its one-pixel border.
const QSize TitleStripSize(238, 26);
const QColor Border(0x1f, 0x3a, 0x5f);
} // namespace

frmInt::frmInt(Dialogs &dialogs, WindowRegistry &windows, const QUrl &updateUrl, std::function<QWidget *()> mainWindow,
               QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , Image1(new QLabel(this))
    , Image2(centredLabel(QStringLiteral("Image2"), QString(), this))
    // Reached with Tab like the buttons, since the window has no frame to close it by.
    , Image3(iconButton(this, QStringLiteral("Image3"), Artwork::icon(Artwork::Picture::Close), 16,
                        QStringLiteral("Close"), QStringLiteral("Asks whether to exit Qiv"), Qt::StrongFocus))
    , lblAuthor(centredLabel(QStringLiteral("lblAuthor"), QStringLiteral("by the Qiv team"), this))
    , lblWeb(centredLabel(QStringLiteral("lblWeb"), ProductInfo::WebAddress, this))
    , Label2(centredLabel(QStringLiteral("Label2"), QStringLiteral("Version 1.0.0"), this))
    , lbupdate(centredLabel(QStringLiteral("lbupdate"), QString(), this))
    , cmdUpdate(new QPushButton(QStringLiteral("Check for updates"), this))
    , cmdStart(new QPushButton(QStringLiteral("Let's Go!"), this))
    , m_dialogs(dialogs)
    , m_updateUrl(updateUrl)
    , m_mainWindow(std::move(mainWindow))
    , m_network(new QNetworkAccessManager(this))
{
    setObjectName(QStringLiteral("frmInt"));
    setWindowTitle(QStringLiteral("Qiv Login"));
    windows.add(this);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);

    // The title strip doubles as the handle for moving the borderless window.
    Image2->setFixedSize(TitleStripSize);
    Image2->setPixmap(Artwork::pixmap(Artwork::Picture::TitleStrip, TitleStripSize));
    Image2->setAccessibleName(ProductInfo::ProgramTitle);
    Image2->installEventFilter(this);

    Image3->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"));
    connect(Image3, &QToolButton::clicked, this, &QWidget::close);
    auto *stripLayout = new QHBoxLayout(Image2);
    stripLayout->setContentsMargins(0, 0, 4, 0);
    stripLayout->addStretch();
    stripLayout->addWidget(Image3);

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Artwork::pixmap(Artwork::Picture::Logo, QSize(92, 103)));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setAccessibleName(QStringLiteral("Qiv logo"));

    QPalette grey = lblAuthor->palette();
    grey.setColor(QPalette::WindowText, QColor(0x55, 0x55, 0x55));
    for (QLabel *label : {lblAuthor, lblWeb, Label2})
        label->setPalette(grey);

    lbupdate->setWordWrap(true);
    lbupdate->setMinimumHeight(34);
    lbupdate->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Named by the notice it shows, so a screen reader hears the answer.
    lbupdate->setAccessibleDescription(QStringLiteral("Update notice"));

    cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdStart->setDefault(true);
    connect(cmdUpdate, &QPushButton::clicked, this, &frmInt::checkForUpdates);
    connect(cmdStart, &QPushButton::clicked, this, &frmInt::start);
    // Escape is the close picture: the exit question.
    EscapeKey::leavesBy(this, [this] { Image3->click(); });
    setTabOrder(cmdStart, cmdUpdate);
    setTabOrder(cmdUpdate, Image3);
    // The window opens on "Let's Go!", so Enter goes on to the main window.
    cmdStart->setFocus();

    auto *body = new QVBoxLayout;
    body->setContentsMargins(16, 8, 16, 8);
    body->setSpacing(5);
    body->addWidget(Image1);
    body->addWidget(lblAuthor);
    body->addSpacing(4);
    body->addWidget(cmdStart);
    body->addWidget(cmdUpdate);
    body->addWidget(lbupdate, 1);
    body->addWidget(lblWeb);
    body->addWidget(Label2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(Image2);
    layout->addLayout(body, 1);

    setFixedSize(240, 302);
}

void frmInt::checkForUpdates() { lbupdate->setText(UpdateCheck::fetch(*m_network, m_updateUrl, m_updateTimeoutMs)); }

void frmInt::start()
{
    if (QWidget *main = m_mainWindow ? m_mainWindow() : nullptr)
        main->show();
    hide();
}

void frmInt::closeEvent(QCloseEvent *event)
{
    // Yes ends the program through m_endProgram; either way this window stays
    // as it is until then.
    event->ignore();
    ExitQuestion::ask(m_dialogs, this, m_endProgram);
}

void frmInt::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // Without a frame the window draws its own border.
    QPainter painter(this);
    painter.setPen(Border);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool frmInt::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image2) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            m_dragOffset = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
            return true;
        }
        if (event->type() == QEvent::MouseMove) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->buttons() & Qt::LeftButton)
                move(mouse->globalPosition().toPoint() - m_dragOffset);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
