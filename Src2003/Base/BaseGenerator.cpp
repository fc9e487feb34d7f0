#include "BaseGenerator.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "DocumentFileName.h"
#include "LxExcept.h"
#include "LxFilUtl.h"
#include "SyntheticBitmap.h"
#include "SyntheticText.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"
#include "TOMOTree.h"

namespace {

// Shape of the base.
constexpr std::int32_t kEntriesPerFolder = 15;
constexpr std::int32_t kTopFolders = 12;
constexpr int kMaxFolderDepth = 6;
// Shares of the documents.
constexpr double kBitmapShare = 0.03;
constexpr double kLargeDocumentShare = 0.02;
constexpr double kLinkedDocumentShare = 0.3;
constexpr double kUrlLinkShare = 0.1;
constexpr double kSummaryWithLineBreak = 0.1;
// Content length of a typical document: log-normal around 3.5 KB.
constexpr double kTypicalLogSize = 8.15;
constexpr double kLogSizeDeviation = 0.7;
constexpr std::int32_t kSmallestDocument = 300;
constexpr std::int32_t kLargeDocumentMin = 100 * 1024;
constexpr std::int32_t kLargeDocumentMax = 1024 * 1024;
// Dates fall between 1990 and 2025 (days since 30/12/1899).
constexpr double kFirstDay = 32874;  // 01/01/1990
constexpr std::uint32_t kDaySpan = 35 * 365;
constexpr std::uint32_t kSecondsPerDay = 86400;
constexpr std::int32_t kMaxEntries = 10'000'000;

const char* const kRtfHeader = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}\\f0\\fs24 ";

enum class TEntryKind { Folder, Leaf, Document };

struct TPlannedEntry {
  std::int32_t Parent = 0;  // index into the plan; the root is 0
  TEntryKind Kind = TEntryKind::Folder;
  int Depth = 0;
  std::vector<std::int32_t> Children;
  std::int32_t Id = 0;
  std::int32_t DocumentNumber = 0;
};

class TBaseGenerator {
 public:
  TBaseGenerator(std::string folder, const TBaseGeneratorOptions& options)
      : folder_(std::move(folder)), options_(options), random_(options.Seed) {}

  TBaseGeneratorResult Run() {
    PlanTree();
    NumberInPreOrder();
    ForceDirectories(folder_);
    TTOMOTree tree;
    for (std::int32_t index : order_) tree.AddNode(MakeRecord(index));
    tree.SaveToFile(folder_);
    return result_;
  }

 private:
  // Folders first, then the leaves spread over them. Leaves are titled and
  // summarised like documents; `Documents` of them, chosen evenly, get a
  // document file, the others stay entries without a document.
  void PlanTree() {
    const std::int32_t entries = options_.Entries;
    const std::int32_t folders = std::min(entries - 1, std::max(1, (entries - 1) / kEntriesPerFolder));
    const std::int32_t leaves = entries - 1 - folders;
    plan_.resize(static_cast<size_t>(entries));
    std::vector<std::int32_t> folderIndexes = {0};
    for (std::int32_t i = 1; i <= folders; ++i) {
      const std::int32_t parent = i <= kTopFolders ? 0 : PickFolderParent(folderIndexes);
      Attach(i, parent, TEntryKind::Folder);
      folderIndexes.push_back(i);
    }
    std::int32_t documentsLeft = std::min(options_.Documents, leaves);
    for (std::int32_t i = folders + 1; i < entries; ++i) {
      const std::int32_t leavesLeft = entries - i;
      const bool hasDocument = random_.Below(static_cast<std::uint32_t>(leavesLeft)) <
                               static_cast<std::uint32_t>(documentsLeft);
      if (hasDocument) --documentsLeft;
      Attach(i, PickDocumentFolder(folderIndexes), hasDocument ? TEntryKind::Document : TEntryKind::Leaf);
    }
    result_.Folders = folders + 1;
  }

  // Recent folders are preferred, so that chains of sub-folders grow deep.
  std::int32_t PickFolderParent(const std::vector<std::int32_t>& folders) {
    for (;;) {
      const std::uint32_t span = std::min<std::uint32_t>(static_cast<std::uint32_t>(folders.size()), 40);
      const std::int32_t candidate = random_.Chance(0.5)
                                         ? folders[folders.size() - 1 - random_.Below(span)]
                                         : folders[random_.Below(static_cast<std::uint32_t>(folders.size()))];
      if (plan_[static_cast<size_t>(candidate)].Depth < kMaxFolderDepth) return candidate;
    }
  }

  // A Zipf-like choice: a few folders hold thousands of documents.
  std::int32_t PickDocumentFolder(const std::vector<std::int32_t>& folders) {
    const double skew = std::pow(random_.Uniform(), 2.5);
    const size_t at = std::min(folders.size() - 1, static_cast<size_t>(skew * static_cast<double>(folders.size())));
    return folders[folders.size() - 1 - at];
  }

  void Attach(std::int32_t index, std::int32_t parent, TEntryKind kind) {
    TPlannedEntry& entry = plan_[static_cast<size_t>(index)];
    entry.Parent = parent;
    entry.Kind = kind;
    entry.Depth = plan_[static_cast<size_t>(parent)].Depth + 1;
    plan_[static_cast<size_t>(parent)].Children.push_back(index);
  }

  // The index file lists parents before children; Ids and document numbers
  // follow that order, as in a base that grew over the years.
  void NumberInPreOrder() {
    std::vector<std::int32_t> stack = {0};
    std::int32_t nextId = 0;
    std::int32_t nextDocument = 1;
    while (!stack.empty()) {
      const std::int32_t index = stack.back();
      stack.pop_back();
      TPlannedEntry& entry = plan_[static_cast<size_t>(index)];
      entry.Id = nextId++;
      if (entry.Kind == TEntryKind::Document) {
        entry.DocumentNumber = nextDocument++;
        documentIds_.push_back(entry.Id);
      }
      order_.push_back(index);
      for (auto child = entry.Children.rbegin(); child != entry.Children.rend(); ++child) stack.push_back(*child);
    }
  }

  TDateTime RandomDay() { return kFirstDay + random_.Below(kDaySpan); }
  TDateTime RandomMoment() { return RandomDay() + static_cast<double>(random_.Below(kSecondsPerDay)) / kSecondsPerDay; }

  std::string Summary() {
    std::string summary = text_.Sentence(random_, 8 + static_cast<int>(random_.Below(30)));
    if (random_.Chance(kSummaryWithLineBreak)) summary += "\r\n" + text_.Sentence(random_, 5 + static_cast<int>(random_.Below(15)));
    return summary;
  }

  TTOMORecordH MakeRecord(std::int32_t index) {
    const TPlannedEntry& entry = plan_[static_cast<size_t>(index)];
    TTOMORecordH record;
    record.Id = entry.Id;
    record.ParentId = index == 0 ? -1 : plan_[static_cast<size_t>(entry.Parent)].Id;
    record.Changed = RandomMoment();
    ++result_.Entries;
    if (index == 0) {
      record.Title = "Boletim Informativo";
      return record;
    }
    if (entry.Kind == TEntryKind::Folder) {
      record.Title = text_.FolderTitle(random_);
      return record;
    }
    record.Title = text_.DocumentTitle(random_);
    record.Summary = Summary();
    if (entry.Kind == TEntryKind::Leaf) return record;
    record.DocumentNumber = entry.DocumentNumber;
    record.Kind = random_.Chance(kBitmapShare) ? 'B' : 'T';
    record.DocumentDate = RandomDay();
    record.PublishedDate = record.DocumentDate + random_.Below(30);
    record.AuxDate = random_.Chance(0.2) ? RandomDay() : 0;
    record.DocumentSize = WriteDocument(record);
    return record;
  }

  std::int32_t ContentLength() {
    if (random_.Chance(kLargeDocumentShare)) {
      return kLargeDocumentMin + static_cast<std::int32_t>(random_.Below(kLargeDocumentMax - kLargeDocumentMin));
    }
    const double length = std::exp(random_.Normal(kTypicalLogSize, kLogSizeDeviation));
    return std::max(kSmallestDocument, static_cast<std::int32_t>(std::min(length, 1.0 * kLargeDocumentMin)));
  }

  static void AppendRtfText(std::string& rtf, const std::string& text) {
    for (char c : text) {
      const unsigned char code = static_cast<unsigned char>(c);
      if (code >= 0x80) {
        rtf += FormatMessage("\\'%02x", code);
      } else {
        if (c == '\\' || c == '{' || c == '}') rtf += '\\';
        rtf += c;
      }
    }
  }

  // RTF paragraphs up to `length` characters of plain text; links point at
  // words, by their position in the plain text (a paragraph break counts one).
  std::string RichText(std::int32_t length, std::vector<TBodyLink>& links) {
    std::string rtf = kRtfHeader;
    std::int32_t plainLength = 0;
    const bool linked = !documentIds_.empty() && random_.Chance(kLinkedDocumentShare);
    int wantedLinks = linked ? 1 + static_cast<int>(random_.Below(5)) : 0;
    while (plainLength < length) {
      if (plainLength > 0) {
        rtf += "\\par\r\n";
        ++plainLength;
      }
      const std::string paragraph = text_.Sentence(random_, 20 + static_cast<int>(random_.Below(80)));
      if (wantedLinks > 0 && random_.Chance(0.5)) {
        const std::int32_t wordLength = static_cast<std::int32_t>(paragraph.find(' '));
        TTOMOHyperlinkRecord link;
        link.Position = plainLength;
        link.Length = wordLength > 0 ? wordLength : static_cast<std::int32_t>(paragraph.size());
        if (random_.Chance(kUrlLinkShare)) {
          link.URL = "http://www.fazenda.exemplo.gov.br/legislacao/" + std::to_string(random_.Below(100000));
        } else {
          link.Target = documentIds_[random_.Below(static_cast<std::uint32_t>(documentIds_.size()))];
        }
        links.push_back({false, std::move(link)});
        --wantedLinks;
      }
      AppendRtfText(rtf, paragraph);
      plainLength += static_cast<std::int32_t>(paragraph.size());
    }
    rtf += "\\par\r\n}";
    return rtf;
  }

  std::string Bitmap() {
    const std::int32_t width = 64 + static_cast<std::int32_t>(random_.Below(400));
    const std::int32_t height = 48 + static_cast<std::int32_t>(random_.Below(300));
    return SyntheticBitmap(width, height, static_cast<std::uint32_t>(random_.Next()));
  }

  std::int32_t WriteDocument(const TTOMORecordH& record) {
    std::vector<TBodyLink> links;
    const std::string content = record.Kind == 'B' ? Bitmap() : RichText(ContentLength(), links);
    TTOMODocumentFile document(DocumentFileName(folder_, record.DocumentNumber), true);
    document.SetProperty(DocumentDateProperty(), DateTimeToStr(record.DocumentDate));
    WriteDocumentBody(document.OpenWrite(), record.DocumentDate, content, links);
    document.CloseDocument();
    ++result_.Documents;
    if (record.Kind == 'B') ++result_.Bitmaps;
    result_.Links += static_cast<std::int32_t>(links.size());
    result_.DocumentBytes += document.GetFileSize();
    return document.GetFileSize();
  }

  std::string folder_;
  TBaseGeneratorOptions options_;
  TSyntheticRandom random_;
  TSyntheticText text_;
  std::vector<TPlannedEntry> plan_;
  std::vector<std::int32_t> order_;
  // Ids of the document entries numbered so far, the targets of links.
  std::vector<std::int32_t> documentIds_;
  TBaseGeneratorResult result_;
};

}  // namespace

TBaseGeneratorResult GenerateBase(const std::string& folder, const TBaseGeneratorOptions& options) {
  if (options.Entries < 1 || options.Entries > kMaxEntries) {
    throw ELxException(FormatMessage("Número de entradas inválido: %d (1 a %d)", options.Entries, kMaxEntries));
  }
  if (options.Documents < 0) {
    throw ELxException(FormatMessage("Número de documentos inválido: %d", options.Documents));
  }
  return TBaseGenerator(folder, options).Run();
}
