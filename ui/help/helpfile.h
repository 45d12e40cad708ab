#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

namespace quantix {

enum class TopicKind { Contents, Window, Popup };

// One topic of the help file. The body is markup of the small HTML subset
// that the reader accepts (see helpfile.cpp); plainText is the same text
// without markup, for searching.
struct HelpTopic
{
    int context = 0;
    TopicKind kind = TopicKind::Window;
    QString controlName;  // pop-up topics: the object name of the control
    QString title;
    QString body;
    QString plainText;
    int line = 0;  // line of the topic's heading in the file
};

// The help file "Quantix 96.hlp", read whole and checked before use: a file
// that is missing, unreadable or damaged gives no topics and an error text
// that names the file and, for damage, the first bad line.
//
// Format (UTF-8 text, LF or CR LF line ends, an optional byte-order mark):
//   QUANTIX96-HELP 1                         first line, format and version
//   # comment                                anywhere, ignored
//   @topic <number> contents <title>         exactly one contents topic
//   @topic <number> window <title>           a full topic for the help window
//   @topic <number> popup <control> <title>  What's This text of a control
//   <body lines>                             the topic's text, up to the next @topic
// Numbers are 0 to 999999999 and unique; a control has at most one pop-up
// topic. Bodies may not be empty and use only the tags and attributes the
// help window needs; a link is <a href="topic:N"> to a topic of the file.
class HelpFile
{
public:
    static constexpr qint64 maximumSize = 4 * 1024 * 1024;

    // Reads and checks the file at path.
    static HelpFile load(const QString &path);
    // Checks data as the contents of the file at path (named in errors).
    static HelpFile parse(const QByteArray &data, const QString &path);

    bool isValid() const { return m_error.isEmpty(); }
    // The message for the user when the file cannot be used; empty if valid.
    QString errorText() const { return m_error; }

    const QList<HelpTopic> &topics() const { return m_topics; }
    const HelpTopic *topic(int context) const;
    const HelpTopic *popupFor(QStringView controlName) const;
    const HelpTopic *contents() const;

    // Topics whose title or text contains every blank-separated word of
    // query, ignoring case, in file order; none for a query without words.
    QList<const HelpTopic *> search(QStringView query) const;

private:
    QList<HelpTopic> m_topics;
    QHash<int, qsizetype> m_byContext;
    QHash<QString, qsizetype> m_byControl;
    qsizetype m_contents = -1;
    QString m_error;

    friend class HelpFileParser;
};

// The help file for a program in programDir: beside it (the build tree),
// else in the data folder of the installed tree around it (so a tree moved
// to another prefix still finds it), else in the XDG data folders. When it
// is nowhere, the installed tree's place, for the message that says so.
QString locateHelpFile(const QString &programDir);
// The help file of the running program.
QString helpFilePath();

// Context numbers the main window asks for.
namespace HelpContext {
constexpr int physicalConstants = 100;
constexpr int metricPrefixes = 105;
}

}
