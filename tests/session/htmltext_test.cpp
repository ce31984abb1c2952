// Typed text to HTML and back, remote HTML to what a person reads, and the
// quotes that Open OSCAR Server must never take for an argument's end.

#include "printers.h"
#include "session/htmltext.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(HtmlText, WhatIsTypedComesBackExactlyAndNeedsNoQuoteOrFoldedSpace)
{
    const QString typed[] = {
        QStringLiteral("Did you see \"Casablanca\" yesterday?"),
        QStringLiteral("5 < 6 and 7 > 3, a<b and c>d, <grin>"),
        QStringLiteral("&amp; &lt; &#39; & ; &"),
        QStringLiteral("\\ {braces} [x] (y) $HOME \\\""),
        QStringLiteral("caf\u00e9 \u20ac \U0001F600"),
        QStringLiteral("  two  spaces,   three, a tab\tand the end  "),
        QStringLiteral("line one\nline two"),
        QStringLiteral("\""),
        QString(),
    };
    for (const QString &text : typed) {
        SCOPED_TRACE(text.toStdString());
        const QString html = HtmlText::escape(text);
        EXPECT_EQ(HtmlText::toPlainText(html), text);
        EXPECT_FALSE(html.contains(QLatin1Char('"')));
        EXPECT_FALSE(html.contains(QLatin1Char('\n')));
        // Neither HTML nor a server that trims arguments loses a space.
        EXPECT_FALSE(html.contains(QLatin1String("  ")));
        EXPECT_FALSE(html.startsWith(QLatin1Char(' ')) || html.endsWith(QLatin1Char(' ')));
    }
    EXPECT_EQ(HtmlText::escape(QStringLiteral("plain words stay as they are")),
              QStringLiteral("plain words stay as they are"));
}

TEST(HtmlText, RemoteMarkupReadsAsTextWithLinksKept)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("<b>bold</b> &amp;amp; &lt;i&gt; &#8364;&#x20AC;&nbsp;&copy;"),
         QStringLiteral("bold &amp; <i> \u20ac\u20ac \u00a9")},
        {QStringLiteral("&bogus; &#0; &#xD800; &#99999999; & &;"),
         QStringLiteral("&bogus; &#0; &#xD800; &#99999999; & &;")},
        {QStringLiteral("<a href=\"http://x.example/a?b=1&amp;c=2\">site</a>!"),
         QStringLiteral("site (http://x.example/a?b=1&c=2)!")},
        {QStringLiteral("<A HREF=http://x.example>http://x.example</A>"), QStringLiteral("http://x.example")},
        {QStringLiteral("<a href='mailto:a@b.example'></a> <a>plain</a> <a href=\"u\">open"),
         QStringLiteral("mailto:a@b.example plain open (u)")},
        {QStringLiteral("one<br>two<BR/>three<p>four"), QStringLiteral("one\ntwo\nthreefour")},
        {QStringLiteral("1 < 2 and <unclosed"), QStringLiteral("1 < 2 and <unclosed")},
    };
    for (const auto &[html, shown] : cases) {
        SCOPED_TRACE(html.toStdString());
        EXPECT_EQ(HtmlText::toPlainText(html), shown);
    }
}

TEST(HtmlText, EveryQuoteSurvivesAnArgumentReaderThatStopsAtQuoteAndSpace)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {R"(<font face="Trebuchet MS" color="red">hi)", "<font face=\"Trebuchet MS\"\tcolor=\"red\">hi"},
        {R"(<a href="x"
title="y">say "yes" or "no")",
         "<a href=\"x\"\ttitle=\"y\">say \"yes&quot; or \"no&quot;"},
        {R"(<b title='a" b' alt=" c">q</b>)", R"(<b title='a&quot; b' alt="&#32;c">q</b>)"},
        {R"(<body bgcolor=""#EEEEEE""><font face=""Trebuchet MS"">)",
         R"(<body bgcolor=""#EEEEEE""><font face=""Trebuchet MS"">)"},
        {"ends with a quote\"", "ends with a quote&quot;"},
    };
    for (const auto &[html, guarded] : cases) {
        SCOPED_TRACE(html.toStdString());
        EXPECT_EQ(HtmlText::guardQuotes(html), guarded);
    }
}

} // namespace
