#include "conversationprefs.h"

#include "options.h"

#include <QCheckBox>
#include <QVBoxLayout>

ConversationPrefs::ConversationPrefs(Options &options, QWidget *parent)
    : QGroupBox(tr("Conversations"), parent)
    , chkTimestamps(new QCheckBox(tr("Show &timestamps"), this))
    , m_options(options)
{
    chkTimestamps->setObjectName(QStringLiteral("chkTimestamps"));
    chkTimestamps->setAccessibleDescription(
        tr("Every line in conversations and chat rooms starts with the time it was written"));
    chkTimestamps->setChecked(options.showsTimes());

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(chkTimestamps);
    layout->addStretch();
}

void ConversationPrefs::apply()
{
    Options::Choices choices = m_options.choices();
    choices.showTimes = chkTimestamps->isChecked();
    m_options.apply(choices);
}
