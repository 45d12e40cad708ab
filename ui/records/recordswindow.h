#pragma once

#include "settings/printfont.h"

#include <QDateTime>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

namespace Ui { class frmConvRecords; }

namespace quantix {

class ConversionRecords;
class Options;

// The records window: shows the records text in the print font and saves,
// prints and copies it. It never changes the records list; it follows the
// records as they are added, keeps their saved flags and takes the print
// font from the options. Closing it destroys it; the records stay.
class RecordsWindow : public QMainWindow
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    // Loads the window hidden: stored geometry, captions, and the records
    // text.
    RecordsWindow(ConversionRecords &records, const Options &options, QWidget *parent = nullptr);
    ~RecordsWindow() override;

    // Applies the print font and its colour to the whole text.
    void frmFont();
    // The records text builder: rebuilds the text from the records list with
    // the time of the clock and shows it in the print font.
    void buildRecordsText();
    // The text the box shows, exactly as built.
    QString recordsText() const { return m_header + m_body; }

    // The writes of the window's geometry, which closing the window then
    // leaves out: the main window stores them with its own as one change.
    SettingWrites takeGeometryWrites();

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
    SettingWrites geometryWrites() const;
    void activated();
    void editMenuOpening();
    bool writeRecords(const QString &fileName);
    bool writeFile(const QString &fileName, const QByteArray &content);
    QString selectedText() const;
    void showText();
    void recordAdded(int number);

    std::unique_ptr<Ui::frmConvRecords> m_ui;
    ConversionRecords &m_records;
    const Options &m_options;
    // The records text as its header line and the rest: a record added
    // changes the header's time and adds a line, and the box is changed in
    // just those places.
    QString m_header;
    QString m_body;
    std::optional<PrintFont> m_shownFont;  // the font of the shown text
    bool m_showPending = false;
    bool m_geometryTaken = false;
};

}
