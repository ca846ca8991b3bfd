#pragma once
// ComFile: the file dialog as the menus use it. The program sets a title and
// flags, shows it, and reads back one chosen path. Tests replace it.

#include <QString>

class QWidget;

namespace tev {

class ComFile {
  public:
    virtual ~ComFile() = default;

    QString DialogTitle;
    int Flags = 0; // 4 hides the read-only check box
    // The chosen path; emptied before every showing, so a cancel can never
    // leave an earlier path behind.
    QString FileName;
    // The file the save dialog offers first; empty: none (the dialog's own
    // folder). Kept across showings.
    QString Propuesto;

    // True when the user chose a file, false when the dialog was cancelled.
    bool ShowOpen(QWidget* padre);
    bool ShowSave(QWidget* padre);

  protected:
    virtual QString pide_abrir(QWidget* padre);
    virtual QString pide_salvar(QWidget* padre);
};

} // namespace tev
