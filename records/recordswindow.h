#pragma once

#include "printfont.h"

#include <QDateTime>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

namespace Ui { class frmConvRecords; }

namespace quantix {

struct AppState;

// The records window: shows the records text in the print font and saves,
// prints and copies it. It never changes the records list; it reads the
// records and the print font from the run-wide state and keeps the records
// flags there. Closing it destroys it; the records stay.
class RecordsWindow : public QMainWindow
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    // Loads the window hidden: stored geometry, captions, and the records
    // text.
    explicit RecordsWindow(AppState &state, QWidget *parent = nullptr);
    ~RecordsWindow() override;

    // Applies the print font and its colour to the whole text.
    void frmFont();
    // The records text builder: rebuilds the text from the records list with
    // the time of the clock and shows it in the print font.
    void buildRecordsText();
    // The text the box shows, exactly as built.
    const QString &recordsText() const { return m_text; }

    // The commands of the window's menus.
    void save();
    void saveAs();
    void print();
    void copyText();
    void copyRichText();
    void selectAll();

    // The clock of the records text's header; an empty function restores the
    // system clock (tests fix the time).
    static void setClock(Clock clock);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setCaptions();
    void restoreStoredGeometry();
    void storeGeometry();
    void activated();
    void editMenuOpening();
    bool writeRecords(const QString &fileName);
    bool writeFile(const QString &fileName, const QByteArray &content);
    QString selectedText() const;
    void showText();

    std::unique_ptr<Ui::frmConvRecords> ui;
    AppState &m_state;
    QString m_text;
    std::optional<PrintFont> m_shownFont;  // the font of the shown text
};

}
