#pragma once
// The Choose Game… panel: a window-modal file panel that accepts exactly one
// application bundle. On macOS the native panel treats bundles as files; on
// other systems a folder whose name ends in ".app" stands for the bundle,
// and accepting a plain folder opens it instead of choosing it.

#include <QFileDialog>

namespace vornik {

class ChooseGamePanel : public QFileDialog {
    Q_OBJECT
public:
    ChooseGamePanel(QWidget* window, const QString& startFolder);

    // The chosen bundle's path, or an empty string.
    QString chosenPath() const;

    void accept() override;
};

bool isApplicationBundleName(const QString& path);

}  // namespace vornik
