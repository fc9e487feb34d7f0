#include "PackageWriter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "LxCodePage.h"
#include "LxExcept.h"
#include "LxFileStream.h"
#include "LxFilUtl.h"
#include "LxLittleEndian.h"
#include "LxZLIBStream.h"
#include "TOMODocumentSet.h"
#include "TOMOIndexFormat.h"
#include "TOMOTree.h"
#include "UpdateList.h"
#include "UpdatePackageFormat.h"

namespace {

constexpr char kPayloadTempName[] = ".payload.tmp";
constexpr char kTempSuffix[] = ".tmp";
constexpr std::int32_t kCopyBufferBytes = 64 * 1024;

void CheckVolumeName(const std::string& name) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
    throw ELxException(FormatMessage("Nome de volume inválido: '%s'", name.c_str()));
  }
}

std::string ReadAll(TLxStream& stream) {
  std::string bytes;
  char buffer[kCopyBufferBytes];
  for (;;) {
    const std::int32_t count = stream.Read(buffer, kCopyBufferBytes);
    if (count <= 0) return bytes;
    bytes.append(buffer, static_cast<size_t>(count));
  }
}

std::vector<TTOMONode*> DocumentsOf(const TTOMOTree& newTree, const TPackageRequest& request,
                                    std::unique_ptr<TTOMOTree>& oldTree) {
  if (request.AllDocuments) {
    std::vector<TTOMONode*> all;
    for (auto it = newTree.Iterator(); !it.Eof(); it.Next()) {
      const TTOMORecordH& record = it.Current()->Record();
      if (record.DocumentNumber != 0 && IsValidDocumentNumber(record.DocumentNumber)) all.push_back(it.Current());
    }
    return all;
  }
  oldTree = std::make_unique<TTOMOTree>(request.OldFolder);
  return BuildUpdateList(newTree, oldTree.get(), Today()).DocumentNodes;
}

void WriteRecord(TLxStream& out, TTOMODocumentSet& documents, const TTOMONode& node) {
  const std::int32_t number = node.Record().DocumentNumber;
  std::unique_ptr<TTOMODocument> document = documents.GetDocument(number, false);
  const std::string body = ReadAll(document->OpenRead());
  if (document->GetProperty(PackageTitleName()).empty()) document->SetProperty(PackageTitleName(), node.Record().Title);
  TLxStringList properties = document->Properties();
  document->CloseDocument();

  WriteLittleEndian32(out, number);
  for (const std::string& line : properties) {
    if (line.empty()) continue;  // an empty line would end the header early
    out.WriteBuffer(line.data(), static_cast<std::int32_t>(line.size()));
    out.WriteBuffer("\n", 1);
  }
  out.WriteBuffer("\n", 1);
  WriteLittleEndian32(out, static_cast<std::int32_t>(body.size()));
  out.WriteBuffer(body.data(), static_cast<std::int32_t>(body.size()));
}

// The joined payload: the zlib block of the tree file and the records.
int WritePayload(const std::string& payloadFile, const TPackageRequest& request) {
  const TTOMOTree newTree(request.NewFolder);
  std::unique_ptr<TTOMOTree> oldTree;
  const std::vector<TTOMONode*> documents = DocumentsOf(newTree, request, oldTree);
  TTOMODocumentFolder newDocuments(request.NewFolder);

  TLxFileStream file(payloadFile, TLxFileMode::Create);
  {
    TLxZLIBStream payload(file);
    payload.BeginWrite();
    TLxFileStream tree(FindFileIgnoringCase(request.NewFolder, kIndexFileName), TLxFileMode::OpenRead);
    WriteLittleEndian32(payload, tree.Size());
    if (tree.Size() > 0) payload.CopyFrom(tree, tree.Size());
    for (const TTOMONode* node : documents) WriteRecord(payload, newDocuments, *node);
    payload.Finish();
  }
  file.Close();
  return static_cast<int>(documents.size());
}

void WriteHeaderLine(TLxStream& out, const std::string& name, const std::string& value) {
  const std::string line = name + ": " + value + "\n";
  out.WriteBuffer(line.data(), static_cast<std::int32_t>(line.size()));
}

void WriteVolume(const std::string& path, int sequence, TLxStream& payload, std::int32_t count,
                 std::int32_t totalSize, const TPackageRequest& request) {
  ForceDirectories(std::filesystem::path(path).parent_path().string());
  const std::string temp = path + kTempSuffix;
  {
    TLxFileStream out(temp, TLxFileMode::Create);
    const std::string signature = PackageSignature() + "\n";
    out.WriteBuffer(signature.data(), static_cast<std::int32_t>(signature.size()));
    WriteHeaderLine(out, PackageSequenceName(), std::to_string(sequence));
    if (sequence == 1) {
      WriteHeaderLine(out, PackageTotalSizeName(), std::to_string(totalSize));
      WriteHeaderLine(out, PackageTitleName(), Utf8ToWin1252(request.Title));
      WriteHeaderLine(out, PackageIdName(), Utf8ToWin1252(request.Id));
    }
    out.WriteBuffer("\n", 1);
    if (count > 0) out.CopyFrom(payload, count);
    out.Close();
  }
  std::filesystem::rename(temp, path);
}

}  // namespace

TPackageSummary WritePackage(const TPackageRequest& request) {
  CheckVolumeName(request.VolumeName);
  if (request.VolumeSize <= 0) throw ELxException("Tamanho de volume inválido");
  ForceDirectories(request.OutFolder);
  const std::string payloadFile = PathJoin(request.OutFolder, kPayloadTempName);

  TPackageSummary summary;
  summary.Documents = WritePayload(payloadFile, request);
  {
    TLxFileStream payload(payloadFile, TLxFileMode::OpenRead);
    const std::int32_t total = payload.Size();
    const std::int64_t volumeSize = std::min<std::int64_t>(request.VolumeSize, total > 0 ? total : 1);
    summary.Volumes = static_cast<int>(std::max<std::int64_t>(1, (total + volumeSize - 1) / volumeSize));
    summary.PayloadBytes = total;
    for (int sequence = 1; sequence <= summary.Volumes; ++sequence) {
      const std::int32_t left = total - payload.Position();
      const std::int32_t count = static_cast<std::int32_t>(std::min<std::int64_t>(left, volumeSize));
      const std::string folder =
          summary.Volumes == 1 ? request.OutFolder : PathJoin(request.OutFolder, std::to_string(sequence));
      WriteVolume(PathJoin(folder, request.VolumeName), sequence, payload, count, total, request);
    }
  }
  std::remove(payloadFile.c_str());
  return summary;
}
