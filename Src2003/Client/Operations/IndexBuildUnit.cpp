#include "IndexBuildUnit.h"

#include <memory>

#include "IndexBuildOperation.h"
#include "QtText.h"

namespace {

TfrmBuildIndex* buildWindow = nullptr;

}  // namespace

TfrmBuildIndex::TfrmBuildIndex(TWordIndex& index, TInstalledCollection& collection, QWidget* parent)
    : TfrmUpdateBase(std::make_unique<TIndexBuildOperation>(index, collection), parent) {
  setWindowTitle(Utf8ToQString(kCaption));
  buildWindow = this;
  Build().Start();
}

TfrmBuildIndex::~TfrmBuildIndex() {
  if (buildWindow == this) buildWindow = nullptr;
}

TfrmBuildIndex* TfrmBuildIndex::Instance() { return buildWindow; }

TIndexBuildOperation& TfrmBuildIndex::Build() const { return static_cast<TIndexBuildOperation&>(Operation()); }
