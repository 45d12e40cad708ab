#pragma once

#include "ui/help/helpfile.h"

#include <QList>
#include <QTextBrowser>
#include <QWidget>

#include <memory>

class QLineEdit;
class QListWidget;
class QToolButton;

namespace quantix {

// A text browser that shows help markup and loads nothing else: no images,
// style sheets or files named in the text, whatever a damaged file says.
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override;
};

// The help window "yellow": one topic at a time with back and forward, and
// a search panel listing the topics that contain the words typed.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    HelpWindow(std::shared_ptr<const HelpFile> file, QWidget *parent);

    // Shows the topic and makes it the newest step of the history.
    void showTopic(const HelpTopic &topic);
    // Shows the contents topic and the search panel, ready for typing.
    void showContents();

private:
    void display(int context);
    void go(int step);
    void followLink(const QUrl &link);
    void search(const QString &query);
    void updateButtons();

    std::shared_ptr<const HelpFile> m_file;
    HelpBrowser *m_text;
    QToolButton *m_back;
    QToolButton *m_forward;
    QWidget *m_searchPanel;
    QLineEdit *m_query;
    QListWidget *m_hits;
    QList<int> m_history;
    qsizetype m_position = -1;
};

}
