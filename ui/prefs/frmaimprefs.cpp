#include "frmaimprefs.h"

#include "appcontext.h"
#include "blocklist.h"
#include "prefs/buddylistprefs.h"
#include "prefs/conversationprefs.h"
#include "prefs/privacyprefs.h"
#include "dialogs.h"
#include "escapekey.h"
#include "productinfo.h"
#include "session/quortocsock.h"
#include "store/remembered.h"
#include "session/wiretext.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit *lineEdit(const QString &name, const QString &text, QWidget *parent)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    return edit;
}

QPushButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}
} // namespace

frmAimPrefs::frmAimPrefs(AppContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_context(context)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmAimPrefs"));
    setWindowTitle(ProductInfo::caption(QStringLiteral("Preferences")));

    auto *category = new QVBoxLayout;
    category->setSpacing(2);
    auto *heading = new QLabel(QStringLiteral("Category"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    category->addWidget(heading);

    const std::array<std::pair<int, QString>, 7> captions{{{PrivacyPage, QStringLiteral("Privacy")},
                                                           {FontPage, QStringLiteral("Font")},
                                                           {PasswordPage, QStringLiteral("Change Pass")},
                                                           {FormatNamePage, QStringLiteral("Format Name")},
                                                           {ProfilePage, QStringLiteral("Profile")},
                                                           {BuddyListPage, tr("Buddy List")},
                                                           {ConversationsPage, tr("Conversations")}}};
    for (const auto &[index, caption] : captions) {
        QPushButton *label = button(QStringLiteral("lbMenu%1").arg(index), caption, this);
        label->setFlat(true);
        // Checked marks the category on view.
        label->setCheckable(true);
        label->setAutoExclusive(true);
        label->setStyleSheet(QStringLiteral("text-align: left; padding: 2px 6px;"));
        label->setAccessibleDescription(QStringLiteral("Shows the %1 page").arg(caption));
        // Any way of checking a category shows its page: a click, the keyboard,
        // or a screen reader's toggle action, which never clicks.
        connect(label, &QPushButton::toggled, this, [this, i = index](bool checked) {
            if (checked)
                showPage(i);
        });
        lbMenu[index] = label;
        category->addWidget(label);
    }
    category->addStretch();

    f[PrivacyPage] = buildPrivacyPage();
    f[FontPage] = buildFontPage();
    f[PasswordPage] = buildPasswordPage();
    f[FormatNamePage] = buildFormatNamePage();
    f[ProfilePage] = buildProfilePage();
    f[BuddyListPage] = buddyListPage = new BuddyListPrefs(context.options, this);
    f[ConversationsPage] = conversationsPage = new ConversationPrefs(context.options, this);

    cmdOK = button(QStringLiteral("cmdOK"), QStringLiteral("OK"), this);
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), this);
    connect(cmdOK, &QPushButton::clicked, this, &frmAimPrefs::confirm);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::hide);
    // Escape is Cancel: hidden, with everything typed kept for next time.
    EscapeKey::leavesBy(this, [this] { cmdCancel->click(); });
    lbStatus = new QLabel(this);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));
    lbStatus->setTextFormat(Qt::PlainText);
    lbStatus->setWordWrap(true);
    // Named by what it says, so a screen reader hears each answer.
    lbStatus->setAccessibleDescription(QStringLiteral("Preferences status"));
    connect(privacyPrefs, &PrivacyPrefs::report, lbStatus, &QLabel::setText);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lbStatus, 1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    // Every page shares one cell; only the chosen one is visible.
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->addLayout(category, 0, 0, 2, 1);
    for (int index = 0; index < PageSlots; ++index) {
        if (f[index]) {
            f[index]->setObjectName(QStringLiteral("f%1").arg(index));
            grid->addWidget(f[index], 0, 1);
        }
    }
    grid->addLayout(buttons, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);

    restoreRemembered();
    showPage(FirstPage);
    resize(420, 210);
}

QGroupBox *frmAimPrefs::buildPrivacyPage()
{
    auto *page = new QGroupBox(QStringLiteral("Privacy"), this);
    privacyPrefs = new PrivacyPrefs(m_context, page);
    privacyAll = privacyPrefs->privacyAll;
    privacyNone = privacyPrefs->privacyNone;
    chkHistory = new QCheckBox(QStringLiteral("&Keep a history"), page);
    chkHistory->setObjectName(QStringLiteral("chkHistory"));
    chkHistory->setAccessibleDescription(
        QStringLiteral("Keeps every conversation and chat room, to search in the History window and to show the last "
                       "lines when it opens again"));
    cboKeepFor = new QComboBox(page);
    cboKeepFor->setObjectName(QStringLiteral("cboKeepFor"));
    const std::array<std::pair<QString, Remembered::HistoryAge>, 4> ages{{
        {QStringLiteral("Forever"), Remembered::HistoryAge::Forever},
        {QStringLiteral("A year"), Remembered::HistoryAge::Year},
        {QStringLiteral("A month"), Remembered::HistoryAge::Month},
        {QStringLiteral("A week"), Remembered::HistoryAge::Week},
    }};
    for (const auto &[caption, age] : ages)
        cboKeepFor->addItem(caption, int(age));
    cboKeepFor->setAccessibleDescription(QStringLiteral("Older lines are deleted when Qiv starts and once a day"));
    auto *keepForLabel = new QLabel(QStringLiteral("Keep history &for:"), page);
    keepForLabel->setBuddy(cboKeepFor);
    auto *keepFor = new QHBoxLayout;
    keepFor->addWidget(keepForLabel);
    keepFor->addWidget(cboKeepFor);
    keepFor->addStretch();
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(privacyPrefs);
    layout->addSpacing(8);
    layout->addWidget(chkHistory);
    layout->addLayout(keepFor);
    layout->addStretch();
    return page;
}

QGroupBox *frmAimPrefs::buildFontPage()
{
    auto *page = new QGroupBox(QStringLiteral("Font"), this);
    txtFface = lineEdit(QStringLiteral("txtFface"), QStringLiteral("Trebuchet MS"), page);
    txtFcolor = lineEdit(QStringLiteral("txtFcolor"), QStringLiteral("#000000"), page);
    txtFbackground = lineEdit(QStringLiteral("txtFbackground"), QStringLiteral("#EEEEEE"), page);
    auto *layout = new QFormLayout(page);
    layout->addRow(QStringLiteral("Font Face"), txtFface);
    layout->addRow(QStringLiteral("Font Color"), txtFcolor);
    layout->addRow(QStringLiteral("Background Color"), txtFbackground);
    return page;
}

QGroupBox *frmAimPrefs::buildPasswordPage()
{
    auto *page = new QGroupBox(QStringLiteral("Change Password"), this);
    txtOldpw = lineEdit(QStringLiteral("txtOldpw"), QString(), page);
    txtNewpw = lineEdit(QStringLiteral("txtNewpw"), QString(), page);
    txtOldpw->setEchoMode(QLineEdit::Password);
    txtNewpw->setEchoMode(QLineEdit::Password);
    cmdChangepw = button(QStringLiteral("cmdChangepw"), QStringLiteral("Change!"), page);
    connect(cmdChangepw, &QPushButton::clicked, this, &frmAimPrefs::changePassword);
    auto *layout = new QFormLayout(page);
    layout->addRow(QStringLiteral("Old password:"), txtOldpw);
    layout->addRow(QStringLiteral("New password:"), txtNewpw);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdChangepw);
    layout->addRow(buttonRow);
    return page;
}

QGroupBox *frmAimPrefs::buildFormatNamePage()
{
    auto *page = new QGroupBox(QStringLiteral("Format Name"), this);
    auto *label = new QLabel(QStringLiteral("Enter your screenname with its formatting:"), page);
    label->setWordWrap(true);
    txtFormatsn = lineEdit(QStringLiteral("txtFormatsn"), QString(), page);
    label->setBuddy(txtFormatsn);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(label);
    layout->addWidget(txtFormatsn);
    layout->addStretch();
    return page;
}

QGroupBox *frmAimPrefs::buildProfilePage()
{
    auto *page = new QGroupBox(QStringLiteral("Profile"), this);
    txtProfile = new QPlainTextEdit(defaultProfile(), page);
    txtProfile->setObjectName(QStringLiteral("txtProfile"));
    txtProfile->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtProfile->setTabChangesFocus(true);
    txtProfile->setAccessibleName(QStringLiteral("Profile"));
    txtProfile->setAccessibleDescription(QStringLiteral("What people see when they look you up, as HTML"));
    cmdSetProfile = button(QStringLiteral("cmdSetProfile"), QStringLiteral("Set Profile"), page);
    connect(cmdSetProfile, &QPushButton::clicked, this, &frmAimPrefs::setProfile);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(txtProfile);
    layout->addWidget(cmdSetProfile, 0, Qt::AlignRight);
    return page;
}

QString frmAimPrefs::defaultProfile()
{
    return QStringLiteral("<body bgcolor=\"#EEEEEE\"><font face=\"Trebuchet MS\">I'm using <a href=\"")
        + ProductInfo::WebAddress + QStringLiteral("\">Qiv</a> beta release.</font></body>");
}

QString frmAimPrefs::profileFooter()
{
    return QStringLiteral("<hr>I'm using Qiv, get it at ") + ProductInfo::WebAddress;
}

QString frmAimPrefs::stylePrefix(const QString &face, const QString &color, const QString &background)
{
    // The face in single quotes, which HTML reads as it reads double ones: a
    // double quote followed by a space would end the whole message early on
    // Open OSCAR Server. The colours stay unquoted. Whatever is typed stays
    // text inside its value. The font element comes before the body element.
    auto text
        = [](const QString &typed) { return typed.toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;")); };
    return QStringLiteral("<font face='") + text(face) + QStringLiteral("' color=") + text(color)
        + QStringLiteral("><body bgcolor=") + text(background) + QStringLiteral(">");
}

void frmAimPrefs::restoreRemembered()
{
    const Remembered &kept = m_context.remembered;
    const std::array<std::pair<QLineEdit *, Remembered::Key>, 3> fields{
        {{txtFface, Remembered::Key::FontFace},
         {txtFcolor, Remembered::Key::FontColor},
         {txtFbackground, Remembered::Key::FontBackground}}};
    for (const auto &[field, key] : fields) {
        const QVariant value = kept.value(key);
        if (value.isValid())
            field->setText(value.toString());
    }
    privacyPrefs->choose(qint16(kept.value(Remembered::Key::Privacy).toInt()));
    chkHistory->setChecked(kept.keepsHistory());
    cboKeepFor->setCurrentIndex(cboKeepFor->findData(int(kept.keepHistoryFor())));
}

void frmAimPrefs::showPage(int index)
{
    for (QGroupBox *page : f) {
        if (page)
            page->hide();
    }
    if (index >= 0 && index < PageSlots && f[index]) {
        f[index]->show();
        lbMenu[index]->setChecked(true);
    }
}

void frmAimPrefs::setProfile()
{
    const QByteArray profile = WireText::toWire(txtProfile->toPlainText() + profileFooter());
    // An overlong line never leaves; the user keeps the text to shorten it.
    switch (m_context.btoc.trySetProfile(profile)) {
    case QuorTOCSock::SendCheck::TooLong:
        m_context.dialogs.notice(
            this, QStringLiteral("Your profile is too long to be sent. Please shorten it and try again."),
            QStringLiteral("Error"));
        return;
    case QuorTOCSock::SendCheck::NotSignedOn:
        lbStatus->setText(QStringLiteral("Your profile was not set because Qiv is not signed on."));
        return;
    case QuorTOCSock::SendCheck::Sendable:
    case QuorTOCSock::SendCheck::Waiting:
        break;
    }
    // The server does not acknowledge a profile; it takes effect once sent.
    lbStatus->setText(QStringLiteral("Your profile has been set."));
}

void frmAimPrefs::changePassword()
{
    m_context.btoc.ChangePassword(WireText::toWire(txtOldpw->text()), WireText::toWire(txtNewpw->text()));
    if (!m_context.btoc.isConnected()) {
        lbStatus->setText(QStringLiteral("Your password was not changed because Qiv is not signed on."));
        return;
    }
    m_awaitingPasswordAnswer = true;
    lbStatus->setText(QStringLiteral("Changing your password..."));
}

void frmAimPrefs::passwordAnswered(const QString &text)
{
    m_awaitingPasswordAnswer = false;
    lbStatus->setText(text);
}

void frmAimPrefs::confirm()
{
    Remembered &kept = m_context.remembered;
    const qint16 privacy = privacyPrefs->chosenMode();
    if (privacy != 0) {
        m_context.blocked.setPrivacyMode(privacy);
        kept.setValue(Remembered::Key::Privacy, privacy);
    }
    m_context.txtFont.setText(stylePrefix(txtFface->text(), txtFcolor->text(), txtFbackground->text()));
    kept.setValue(Remembered::Key::FontFace, txtFface->text());
    kept.setValue(Remembered::Key::FontColor, txtFcolor->text());
    kept.setValue(Remembered::Key::FontBackground, txtFbackground->text());
    kept.setValue(Remembered::Key::StylePrefix, m_context.txtFont.text());
    kept.setKeepsHistory(chkHistory->isChecked());
    kept.setKeepHistoryFor(Remembered::HistoryAge(cboKeepFor->currentData().toInt()));
    buddyListPage->apply();
    conversationsPage->apply();
    hide();
}

void frmAimPrefs::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}
