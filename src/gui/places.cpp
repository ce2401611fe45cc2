#include "gui/places.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>
#include <algorithm>
#include <sstream>

namespace vek::gui {
namespace {

// The part of a window's top left corner that must be on a screen for its
// remembered place to be used: enough of the title bar to grab it.
constexpr int kCornerWidth = 100;
constexpr int kCornerHeight = 40;

const char* KindName(FileKind kind) {
    return kind == FileKind::State ? "States" : "Images";
}

std::string Utf8(const QString& s) {
    return s.toStdString();
}

}  // namespace

FileFolders::FileFolders(platform::SettingsStore& store, QString documents)
    : store_(store), documents_(std::move(documents)) {
    if (documents_.isEmpty())
        documents_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents_.isEmpty() || !QFileInfo(documents_).isDir()) documents_ = QDir::homePath();
}

QString FileFolders::StartFolder(FileKind kind) const {
    std::string folder;
    if (platform::StoreStatusOk(store_.GetStoreValue(kFoldersKeyPath, KindName(kind), folder)) &&
        !folder.empty()) {
        const QString f = QString::fromStdString(folder);
        if (QFileInfo(f).isDir()) return f;
    }
    return documents_;
}

void FileFolders::Remember(FileKind kind, const QString& chosenPath) {
    if (chosenPath.isEmpty()) return;
    const QString folder = QFileInfo(chosenPath).absolutePath();
    // A failed write only means the next dialog starts elsewhere.
    store_.SetStoreValue(kFoldersKeyPath, KindName(kind), Utf8(folder));
}

QString WithDefaultSuffix(const QString& path, const QString& suffix) {
    if (suffix.isEmpty() || path.isEmpty()) return path;
    const QString name = QFileInfo(path).fileName();
    // ".vek" alone is a name with no extension to Qt's dialog as well.
    const qsizetype dot = name.lastIndexOf('.');
    if (dot > 0 && dot + 1 < name.size()) return path;
    if (name.isEmpty()) return path;  // a folder, not a file name
    return path + (name.endsWith('.') ? "" : ".") + suffix;
}

void RememberWindowPlace(platform::SettingsStore& store, const QWidget* window) {
    if (!window || window->objectName().isEmpty()) return;
    const QRect frame = window->frameGeometry();
    std::ostringstream text;
    text << frame.x() << ' ' << frame.y() << ' ' << window->width() << ' ' << window->height();
    store.SetStoreValue(kWindowsKeyPath, Utf8(window->objectName()), text.str());
}

QRect ParseWindowPlace(const std::string& text) {
    std::istringstream in(text);
    int x = 0, y = 0, w = 0, h = 0;
    if (!(in >> x >> y >> w >> h)) return {};
    std::string rest;
    if (in >> rest) return {};
    if (w <= 0 || h <= 0 || w > 100000 || h > 100000) return {};
    return QRect(x, y, w, h);
}

QRect RememberedWindowPlace(const platform::SettingsStore& store, const QString& name) {
    std::string text;
    if (!platform::StoreStatusOk(store.GetStoreValue(kWindowsKeyPath, Utf8(name), text))) return {};
    const QRect place = ParseWindowPlace(text);
    if (place.isEmpty()) return {};
    // The title bar's corner must stand on a screen there is now; a size
    // larger than the rest of that screen shrinks to it.
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect avail = s->availableGeometry();
        const QRect corner(place.topLeft(), QSize(std::min(place.width(), kCornerWidth),
                                                  std::min(place.height(), kCornerHeight)));
        if (!avail.contains(corner)) continue;
        return QRect(place.topLeft(), place.size().boundedTo(QSize(avail.right() + 1 - place.x(),
                                                                   avail.bottom() + 1 - place.y())));
    }
    return {};
}

}  // namespace vek::gui
