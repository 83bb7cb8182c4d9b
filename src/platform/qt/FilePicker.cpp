#include "platform/dialogs/FilePicker.h"

#include "platform/qt/DialogControls.h"
#include "platform/Profile.h"
#include "platform/dialogs/DialogIds.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

namespace {

// The toolkit's name filters for a filter given the platform's way: the
// description as it is when it already ends with its patterns in brackets,
// else the description followed by them.
QStringList NameFiltersFromFilter(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i];
        if (description.isEmpty())
            break;  // the empty pair that ends the list
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString bracketed = QLatin1Char('(') + patterns + QLatin1Char(')');
        filters << (description.endsWith(bracketed) ? description : description + QLatin1Char(' ') + bracketed);
    }
    return filters;
}

// The toolkit's file dialog keeps what it remembers (recent folders, the
// view) in a settings file of its own, "QtProject.conf", in the user's
// config folder. While a picker lives, that file is the one beside the
// program's settings instead: the user's config folder gets nothing of ours
// outside our own folder.
class PickerStateBesideOurSettings {
public:
    PickerStateBesideOurSettings() {
        // The toolkit offers no way to read the path back: a settings object
        // made for it names it.
        const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("o"), QStringLiteral("a"));
        m_previous = QFileInfo(QFileInfo(probe.fileName()).path()).path();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QFileInfo(QFile::decodeName(QByteArray::fromStdString(ProfileFileName()))).path());
    }
    ~PickerStateBesideOurSettings() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_previous); }
    PickerStateBesideOurSettings(const PickerStateBesideOurSettings&) = delete;
    PickerStateBesideOurSettings& operator=(const PickerStateBesideOurSettings&) = delete;

private:
    QString m_previous;
};

}  // namespace

int CFolderPickerDialog::DoModal() {
    if (!QApplication::instance())
        return IDCANCEL;
    QWidget* owner = m_pParentWnd ? m_pParentWnd : QApplication::activeModalWidget();
    ReturnFocusTo returnFocus(owner);
    QFileDialog picker(owner);
    picker.setOption(QFileDialog::DontUseNativeDialog);
    picker.setFileMode(QFileDialog::Directory);
    picker.setOption(QFileDialog::ShowDirsOnly);
    if (const QString dir = QFile::decodeName(QByteArray::fromStdString(m_folder));
        !dir.isEmpty() && QDir(dir).exists())
        picker.setDirectory(dir);
    if (picker.exec() != QDialog::Accepted || picker.selectedFiles().isEmpty())
        return IDCANCEL;
    const QByteArray path = QFile::encodeName(picker.selectedFiles().front());
    m_path.assign(path.constData(), std::size_t(path.size()));
    return IDOK;
}

int CFileDialog::DoModal() {
    if (!QApplication::instance())
        return IDCANCEL;
    QWidget* owner = m_pParentWnd ? m_pParentWnd : QApplication::activeModalWidget();
    ReturnFocusTo returnFocus(owner);
    const PickerStateBesideOurSettings pickerState;  // outlives the picker
    QFileDialog picker(owner);
    picker.setOption(QFileDialog::DontUseNativeDialog);
    picker.setAcceptMode(m_bOpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    picker.setFileMode((m_ofn.Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    picker.setFilter(picker.filter() & ~QDir::CaseSensitive);
    if (const QString dir = QFile::decodeName(QByteArray::fromStdString(m_ofn.lpstrInitialDir));
        !dir.isEmpty() && QDir(dir).exists())
        picker.setDirectory(dir);
    if (const QStringList filters = NameFiltersFromFilter(m_filter); !filters.isEmpty())
        picker.setNameFilters(filters);
    // An initial name that is a pattern only narrows the listing, which the
    // filter already does; a plain name is offered as the choice.
    if (!m_fileName.empty() && m_fileName.find_first_of("*?") == std::string::npos)
        picker.selectFile(QFile::decodeName(QByteArray::fromStdString(m_fileName)));
    if (picker.exec() != QDialog::Accepted)
        return IDCANCEL;
    const QStringList chosen = picker.selectedFiles();
    if (chosen.isEmpty())
        return IDCANCEL;
    const QByteArray path = QFile::encodeName(chosen.front());
    m_path.assign(path.constData(), std::size_t(path.size()));
    return IDOK;
}
