#include "ui/open_file_dialog.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace morvik {
namespace {

const QString kOpenDialogTitle = QStringLiteral("ファイルを開く");
// The columns of QFileSystemModel.
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

// Qt writes sizes and dates in the system's locale, which neither a translation nor the
// default locale reaches: here they are written in Japanese as a Japanese desktop does.
class JapaneseSizesAndDates : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr) return QIdentityProxyModel::data(index, role);
    const QModelIndex file = mapToSource(index);
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    if (index.column() == kSizeColumn && !files->isDir(file)) {
      return japanese.formattedDataSize(files->size(file));
    }
    if (index.column() == kDateColumn) {
      return japanese.toString(files->lastModified(file), QLocale::ShortFormat);
    }
    return QIdentityProxyModel::data(index, role);
  }
};

}  // namespace

std::unique_ptr<QFileDialog> CreateOpenFileDialog(QWidget* parent, const QString& folder,
                                                  const QString& filters) {
  auto dialog = std::make_unique<QFileDialog>(parent, kOpenDialogTitle, folder, filters);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setProxyModel(new JapaneseSizesAndDates(dialog.get()));
  dialog->selectNameFilter(filters.section(QStringLiteral(";;"), 0, 0));
  return dialog;
}

QString ChooseFileToOpen(QWidget* parent, const QString& folder, const QString& filters) {
  const std::unique_ptr<QFileDialog> dialog = CreateOpenFileDialog(parent, folder, filters);
  if (dialog->exec() != QDialog::Accepted) return QString();
  return dialog->selectedFiles().value(0);
}

}  // namespace morvik
