#pragma once

// The layout dialog: four predefined layouts with pictures, the two custom layouts, and
// saving the current layout as a custom one. OK applies the chosen layout to the main window.

#include "app/WindowLayout.h"

#include <QDialog>

#include <array>

class QAction;
class QMainWindow;
class QRadioButton;

namespace app {

class TLayoutSelectorForm : public QDialog {
    Q_OBJECT
public:
    TLayoutSelectorForm(QMainWindow& mainWindow, TSplitterPanels splitters, QWidget* parent = nullptr);

    // The checked layout.
    TLayout SelectedLayout() const;
    void SelectLayout(TLayout layout);

    // Applies the checked layout before closing.
    void accept() override;

    // Shows the dialog modally over the main window; OK applies the layout.
    static void Execute(QMainWindow& mainWindow, const TSplitterPanels& splitters);

private:
    QWidget* CreatePredefinedChoice(TLayout layout, const char* name, const QString& caption);
    void SaveCurrentAsCustom(int custom);
    void Checked(TLayout layout);

    QMainWindow& FMainWindow;
    TSplitterPanels FSplitters;
    QRadioButton* FButtons[6] = {};
};

// The layout commands: "&Layout..." (tbmiViewLayout) opens the dialog; acLayout1 ..
// acLayout6 (Ctrl+1 .. Ctrl+6) apply layouts 0 .. 5. The actions belong to the main window
// and are added to it, so that their shortcuts work anywhere in it.
struct TLayoutActions {
    QAction* Dialog = nullptr;
    std::array<QAction*, 6> Layouts{};
};
TLayoutActions CreateLayoutActions(QMainWindow& mainWindow, const TSplitterPanels& splitters);

} // namespace app
