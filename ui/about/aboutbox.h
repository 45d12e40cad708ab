#pragma once

#include <QDialog>

#include <memory>

namespace Ui { class frmAbout; }

namespace quantix {

// The about box: the program's icon, name, build number and legal notice.
// It also serves as the splash window while the main window loads.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(QWidget *parent = nullptr);
    ~AboutBox() override;

    // Typ 1: splash mode, shown without a button and without waiting for the
    // user, and painted once it is on screen; any other value: the modal
    // about box.
    void ShowAbout(int Typ);

    // "Quantix 96 for " and the system it runs on ("Linux"), new line, "Build 4.1.6".
    static QString titleText();

private:
    void paintOnceExposed();
    QSize aboutSize();
    QSize splashSize();

    std::unique_ptr<Ui::frmAbout> m_ui;
    QSize m_designSize;  // the about box's client size at the design font
};

}
