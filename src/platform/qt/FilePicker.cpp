#include "platform/dialogs/FilePicker.h"

#include "platform/qt/DialogControls.h"
#include "platform/dialogs/DialogIds.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>

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

}  // namespace

int CFileDialog::DoModal() {
    if (!QApplication::instance())
        return IDCANCEL;
    QWidget* owner = m_pParentWnd ? m_pParentWnd : QApplication::activeModalWidget();
    ReturnFocusTo returnFocus(owner);
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
