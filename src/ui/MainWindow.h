#pragma once

#include "core/AppLists.h"

#include <QWidget>

namespace kyvane {

// The phone-shaped main window. Its creation runs the program's start-up.
class TForm1 final : public QWidget
{
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    const AppLists& lists() const { return m_lists; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    // Asks whether to close; false keeps the window open.
    bool FormCloseQuery();
    void FormClose();

    AppLists m_lists;
};

} // namespace kyvane
