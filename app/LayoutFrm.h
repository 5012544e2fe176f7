#pragma once

// The layout dialog: four predefined layouts with pictures, the two custom layouts, and
// saving the current layout as a custom one. OK applies the chosen layout to the main window.

#include "app/WindowLayout.h"

#include <QDialog>

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

} // namespace app
