#include "choose_game_panel.h"

#include <QFileInfo>

namespace vornik {

bool isApplicationBundleName(const QString& path) {
    return QFileInfo(path).suffix().compare("app", Qt::CaseInsensitive) == 0;
}

ChooseGamePanel::ChooseGamePanel(QWidget* window, const QString& startFolder)
    : QFileDialog(window, "Choose Vornik Complete Edition", startFolder) {
    setWindowModality(Qt::WindowModal);
    setAcceptMode(QFileDialog::AcceptOpen);
    setLabelText(QFileDialog::Accept, "Choose Game");
#ifdef Q_OS_MACOS
    // The native panel shows bundles as single items.
    setFileMode(QFileDialog::ExistingFile);
    setNameFilter("Applications (*.app)");
#else
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, true);
    setOption(QFileDialog::DontUseNativeDialog, true);
#endif
}

QString ChooseGamePanel::chosenPath() const {
    const QStringList files = selectedFiles();
    return files.size() == 1 ? files.front() : QString();
}

void ChooseGamePanel::accept() {
    const QStringList files = selectedFiles();
    if (files.size() != 1) return;
    if (!isApplicationBundleName(files.front())) {
        // A plain folder is entered, never chosen.
        if (QFileInfo(files.front()).isDir()) setDirectory(files.front());
        return;
    }
    QFileDialog::accept();
}

}  // namespace vornik
