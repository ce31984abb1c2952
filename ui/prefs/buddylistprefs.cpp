#include "buddylistprefs.h"

#include "options.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QCheckBox *checkBox(const QString &name, const QString &text, const QString &description, QWidget *parent)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setAccessibleDescription(description);
    return box;
}
} // namespace

BuddyListPrefs::BuddyListPrefs(Options &options, QWidget *parent)
    : QGroupBox(tr("Buddy List"), parent)
    , chkShowStatus(checkBox(QStringLiteral("chkShowStatus"), tr("Show &status in the buddy list"),
                             tr("Away buddies are dimmed and marked, idle ones show how long they have been idle"),
                             this))
    , chkShowGroups(checkBox(QStringLiteral("chkShowGroups"), tr("Show &groups and offline buddies"),
                             tr("Lists your stored groups with every buddy in them, offline ones greyed"), this))
    , chkAnnounce(checkBox(QStringLiteral("chkAnnounce"), tr("&Tell me when buddies sign on and off"),
                           tr("Shows a desktop notification when a buddy signs on or off"), this))
    , chkTellIdle(checkBox(QStringLiteral("chkTellIdle"), tr("Tell others when I am &idle, after"),
                           tr("Your buddies see how long you have been away from the keyboard"), this))
    , txtIdleMinutes(new QSpinBox(this))
    , m_options(options)
{
    txtIdleMinutes->setObjectName(QStringLiteral("txtIdleMinutes"));
    txtIdleMinutes->setRange(Options::MinIdleMinutes, Options::MaxIdleMinutes);
    txtIdleMinutes->setSuffix(tr(" minutes"));
    txtIdleMinutes->setAccessibleName(tr("Minutes without input before you are idle"));
    // The box a screen reader lands in is the spin box's own line edit.
    if (auto *edit = txtIdleMinutes->findChild<QLineEdit *>())
        edit->setAccessibleName(txtIdleMinutes->accessibleName());
    connect(chkTellIdle, &QCheckBox::toggled, txtIdleMinutes, &QWidget::setEnabled);

    const Options::Choices &choices = options.choices();
    chkShowStatus->setChecked(choices.showStatus);
    chkShowGroups->setChecked(choices.showGroups);
    chkAnnounce->setChecked(choices.announceBuddies);
    chkTellIdle->setChecked(choices.tellIdle);
    txtIdleMinutes->setValue(choices.idleMinutes);
    txtIdleMinutes->setEnabled(choices.tellIdle);

    auto *idleRow = new QHBoxLayout;
    idleRow->addWidget(chkTellIdle);
    idleRow->addWidget(txtIdleMinutes);
    idleRow->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(chkShowStatus);
    layout->addWidget(chkShowGroups);
    layout->addWidget(chkAnnounce);
    layout->addLayout(idleRow);
    layout->addStretch();
}

void BuddyListPrefs::apply()
{
    // The other pages' choices stay as they are.
    Options::Choices choices = m_options.choices();
    choices.showStatus = chkShowStatus->isChecked();
    choices.showGroups = chkShowGroups->isChecked();
    choices.announceBuddies = chkAnnounce->isChecked();
    choices.tellIdle = chkTellIdle->isChecked();
    choices.idleMinutes = txtIdleMinutes->value();
    m_options.apply(choices);
}
