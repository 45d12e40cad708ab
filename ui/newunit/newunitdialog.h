#pragma once

#include "rules/newunitrules.h"

#include <QDialog>

#include <memory>

namespace Ui { class frmNewUnit; }

class QLineEdit;

namespace quantix {

// The new-unit dialog: up to ten units of the user's own for one quantity,
// each a name and its factor of the quantity's base unit, saved to the
// user-unit store on OK as one change.
class NewUnitDialog : public QDialog
{
    Q_OBJECT

public:
    // quantity: the catalogue position 0 to 31 (others give 0). Loading shows
    // a damaged store's failure in a message box before the dialog opens.
    NewUnitDialog(int quantity, const UserUnitStore &store, QWidget *parent = nullptr);
    ~NewUnitDialog() override;

    int quantity() const { return m_quantity; }

    QLineEdit *nameBox(int row) const;
    QLineEdit *factorBox(int row) const;
    NewUnitRows rows() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setCaptions(const QString &quantityName, const QString &baseUnitName);
    void load(const QString &quantityName);
    void save();

    std::unique_ptr<Ui::frmNewUnit> m_ui;
    const UserUnitStore &m_store;
    int m_quantity = 0;
    NewUnitRows m_loaded;  // the rows as the store held them
};

}
