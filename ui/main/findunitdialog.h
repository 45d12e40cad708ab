#pragma once

#include "rules/unitfinder.h"

#include <QDialog>

#include <memory>

namespace Ui { class frmFindUnit; }

namespace quantix {

// The find box of the main window: one text field and the list of the
// offered units that fit it, best first, updated as the user types. Enter or
// a double click takes the unit as the initial unit, Shift+Enter as the
// final unit, Escape closes the box.
class FindUnitDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Target { Initial, Final };

    explicit FindUnitDialog(UnitFinder finder, QWidget *parent = nullptr);
    ~FindUnitDialog() override;

    // After the box was accepted: the unit chosen and what it becomes.
    const FoundUnit &chosen() const { return m_finder.units()[m_chosen]; }
    Target target() const { return m_target; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setCaptions();
    void search(const QString &text);
    void showLinesWhole();
    void choose(Target target);

    std::unique_ptr<Ui::frmFindUnit> m_ui;
    UnitFinder m_finder;
    QList<qsizetype> m_shown;  // the units of the list's lines
    qsizetype m_chosen = -1;
    Target m_target = Target::Initial;
};

}
