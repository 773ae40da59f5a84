#include "platform/ui/file_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QSortFilterProxyModel>
#include <QFileSystemModel>
#include <cstdio>

#include "platform/ui/dialogs.h"
#include "platform/ui/events.h"
#include "platform/ui/windows_qt.h"

namespace plat {

namespace {

// Hides the files the request does not offer.
class OfferedFiles final : public QSortFilterProxyModel {
public:
    OfferedFiles(std::function<bool(const std::filesystem::path&)> f, QObject* parent)
        : QSortFilterProxyModel(parent), filter_(std::move(f)) {}

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        auto* fs = qobject_cast<QFileSystemModel*>(sourceModel());
        if (!fs || !filter_) return true;
        const QModelIndex i = fs->index(row, 0, parent);
        if (fs->isDir(i)) return true;
        return filter_(std::filesystem::path(fs->filePath(i).toStdString()));
    }

private:
    std::function<bool(const std::filesystem::path&)> filter_;
};

// A person answers in the toolkit's own file dialog, shown while the
// program's event queue runs; nothing here waits where no person can see it.
class PersonFileDialog final : public FileDialogAnswerer {
public:
    FileDialogReply answer(const FileDialogRequest& r) override {
        FileDialogReply reply;
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
            QGuiApplication::platformName() == QLatin1String("offscreen")) {
            std::fprintf(stderr, "Dravelin: %s (no display: cancelled)\n", r.title.c_str());
            return reply;
        }
        QFileDialog dialog(nullptr, QString::fromStdString(r.title));
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(r.choose_folder ? QFileDialog::Directory : r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (r.choose_folder) dialog.setOption(QFileDialog::ShowDirsOnly, true);
        if (r.save) dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        if (!r.folder.empty()) dialog.setDirectory(QString::fromStdString(r.folder.string()));
        if (r.save && !r.name.empty()) dialog.selectFile(QString::fromStdString(r.name));
        if (!r.save && r.filter) dialog.setProxyModel(new OfferedFiles(r.filter, &dialog));
        QWidget* area = r.options ? dialog_widget(r.options) : nullptr;
        if (area) {
            if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
                area->setParent(&dialog);
                grid->addWidget(area, grid->rowCount(), 0, 1, grid->columnCount());
                area->show();
            }
        }
        dialog.setWindowModality(Qt::ApplicationModal);
        for (;;) {
            bool done = false;
            int result = 0;
            QObject::connect(&dialog, &QDialog::finished, [&](int code) {
                done = true;
                result = code;
            });
            dialog.open();
            while (!done) {
                if (termination_requested()) {
                    dialog.reject();
                    break;
                }
                // The option area's check boxes and pop-ups change as they
                // are clicked; menus and the program's windows wait.
                EventRecord none;
                wait_next_event(0, &none, 2);
            }
            QObject::disconnect(&dialog, &QDialog::finished, nullptr, nullptr);
            if (!done || result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) break;
            const std::filesystem::path chosen(dialog.selectedFiles().first().toStdString());
            if (r.save && r.accept && !r.accept(chosen)) continue;
            reply.accepted = true;
            reply.file = chosen;
            break;
        }
        if (area) {
            area->hide();
            area->setParent(nullptr);
        }
        return reply;
    }
};

PersonFileDialog g_person;
FileDialogAnswerer* g_current = nullptr;

}  // namespace

FileDialogReply run_file_dialog(const FileDialogRequest& request) {
    return current_file_dialog_answerer()->answer(request);
}

void set_file_dialog_answerer(FileDialogAnswerer* a) { g_current = a; }

FileDialogAnswerer* current_file_dialog_answerer() { return g_current ? g_current : &g_person; }

}  // namespace plat
