#pragma once

#include "ui/help/helpfile.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QPoint;
class QWidget;

namespace quantix {

class HelpWindow;

// The program's help, always on behalf of one owner window (the main
// window): topics in the help window "yellow", the contents with a search,
// and the What's This pop-ups of the owner's controls. The help file is read
// when first needed and kept; when it is missing or damaged every request
// says so in a message box and shows nothing.
class HelpViewer : public QObject
{
    Q_OBJECT

public:
    explicit HelpViewer(QWidget *owner, const QString &path = helpFilePath());
    ~HelpViewer() override;

    // Shows a topic in the help window (context request).
    void showTopic(int context);
    // Shows the contents topic with the search beside it.
    void showContents();
    // Closes the help window if it is open and lets go of the file.
    void quit();

    // Shows the pop-up topic of control, or of the nearest parent within its
    // window that has one, at globalPos; false when there is none.
    bool showPopupFor(QWidget *control, const QPoint &globalPos);
    // Gives every control of window that has a pop-up topic its What's This
    // text, so that a click in What's This mode shows the topic. Silent: false
    // when the help file cannot be used.
    bool installWhatsThis(QWidget *window);
    // Installs the owner's texts and switches to What's This mode: the next
    // click on a control, or Enter or Space, which stand for a click on the
    // control that has the keyboard focus, shows its topic.
    void enterWhatsThisMode();

    // The help window while it exists, else nullptr.
    QWidget *helpWindow() const;

signals:
    void popupShown(int context);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool loadFile();
    const HelpFile *fileOrReport();
    void report(const QString &text);
    HelpWindow *presentWindow();
    bool whatsThisKey(QEvent *event);

    QWidget *m_owner;
    QString m_path;
    std::shared_ptr<const HelpFile> m_file;
    QString m_loadError;
    QPointer<HelpWindow> m_window;
};

}
