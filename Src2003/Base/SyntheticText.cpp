#include "SyntheticText.h"

#include <algorithm>
#include <cmath>

#include "LxCodePage.h"
#include "LxExcept.h"

namespace {

constexpr int kVocabularySize = 20000;
// Exponent of the Zipf law: word k is drawn with weight 1 / k^s.
constexpr double kZipfExponent = 1.05;
// The vocabulary's made-up words come from their own fixed seed, so that every
// base shares them whatever its seed.
constexpr std::uint64_t kVocabularySeed = 0x5EED0F7E47ULL;

const char* const kCommonWords[] = {
    "de", "a", "o", "que", "e", "do", "da", "em", "para", "com", "no", "na", "por", "os", "as", "dos", "das",
    "ao", "se", "ou", "nos", "nas", "pelo", "pela", "seu", "sua", "não", "é", "à", "ser", "mais", "este",
    "imposto", "contribuinte", "mercadoria", "operação", "crédito", "débito", "alíquota", "estabelecimento",
    "fiscal", "tributário", "decreto", "lei", "artigo", "parágrafo", "inciso", "saída", "entrada", "nota",
    "regulamento", "estado", "secretaria", "fazenda", "prazo", "recolhimento", "base", "cálculo",
    "substituição", "isenção", "redução", "produto", "serviço", "transporte", "comunicação", "energia",
    "elétrica", "exportação", "importação", "documento", "registro", "livro", "apuração", "valor", "mês",
    "ano", "dia", "data", "forma", "disposto", "termos", "condições", "previsto", "relativo", "aplicável",
    "vigor", "publicação", "revogadas", "disposições", "contrário", "ICMS", "RICMS", "caput", "alínea",
    "anexo", "convênio", "protocolo", "benefício", "manutenção", "estorno", "diferencial", "interestadual",
    "interna", "empresa", "sujeito", "passivo", "obrigação", "acessória", "infração", "multa", "juros"};

const char* const kSyllables[] = {"ca", "ção", "ri", "men", "to", "pa", "ra", "tri", "bu", "ti", "vo", "de",
                                  "mo", "li", "que", "sa", "ne", "lo", "ta", "re", "gis", "fa", "zen", "da",
                                  "por", "tu", "ga", "ce", "dên", "ci", "al", "es", "tá", "vel", "in", "cor",
                                  "po", "ra", "mi", "nis", "té", "rio", "so", "lu", "ções", "pre", "ven"};

const char* const kDocumentKinds[] = {"Decreto", "Lei", "Lei Complementar", "Portaria SEFAZ", "Resolução",
                                      "Instrução Normativa", "Parecer", "Ato Declaratório", "Comunicado",
                                      "Convênio ICMS", "Protocolo ICMS", "Ajuste SINIEF", "Orientação"};

const char* const kFolderTitles[] = {"Legislação Estadual", "Legislação Federal", "ICMS", "IPVA", "ITCMD",
                                     "Decretos", "Leis", "Portarias", "Resoluções", "Pareceres",
                                     "Instruções Normativas", "Jurisprudência", "Consultas", "Boletins",
                                     "Substituição Tributária", "Obrigações Acessórias", "Convênios",
                                     "Protocolos", "Regimes Especiais", "Índices e Tabelas", "Agenda Fiscal"};

const char* const kMonths[] = {"janeiro", "fevereiro", "março", "abril", "maio", "junho",
                               "julho", "agosto", "setembro", "outubro", "novembro", "dezembro"};

std::vector<std::string> ToWin1252(const char* const* texts, size_t count) {
  std::vector<std::string> converted;
  for (size_t i = 0; i < count; ++i) converted.push_back(Utf8ToWin1252(texts[i]));
  return converted;
}

template <size_t N>
std::vector<std::string> ToWin1252(const char* const (&texts)[N]) {
  return ToWin1252(texts, N);
}

// Thousands separated by full stops, as legal numbers are written: 12.345.
std::string LegalNumber(std::uint32_t number) {
  std::string digits = std::to_string(number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ".");
  return digits;
}

}  // namespace

std::uint64_t TSyntheticRandom::Next() {
  // SplitMix64: small, fast and the same everywhere.
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

double TSyntheticRandom::Normal(double mean, double deviation) {
  const double u1 = std::max(Uniform(), 1e-12);
  const double u2 = Uniform();
  return mean + deviation * std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
}

TSyntheticText::TSyntheticText()
    : words_(ToWin1252(kCommonWords)),
      documentKinds_(ToWin1252(kDocumentKinds)),
      folderTitles_(ToWin1252(kFolderTitles)),
      months_(ToWin1252(kMonths)) {
  const std::vector<std::string> syllables = ToWin1252(kSyllables);
  TSyntheticRandom random(kVocabularySeed);
  while (words_.size() < kVocabularySize) {
    std::string word;
    const int count = 2 + static_cast<int>(random.Below(3));
    for (int i = 0; i < count; ++i) word += syllables[random.Below(static_cast<std::uint32_t>(syllables.size()))];
    words_.push_back(std::move(word));
  }
  double total = 0;
  for (size_t rank = 1; rank <= words_.size(); ++rank) {
    total += 1.0 / std::pow(static_cast<double>(rank), kZipfExponent);
    cumulativeWeights_.push_back(total);
  }
}

const std::string& TSyntheticText::Word(TSyntheticRandom& random) const {
  const double target = random.Uniform() * cumulativeWeights_.back();
  const auto at = std::upper_bound(cumulativeWeights_.begin(), cumulativeWeights_.end(), target);
  return words_[std::min(static_cast<size_t>(at - cumulativeWeights_.begin()), words_.size() - 1)];
}

std::string TSyntheticText::Sentence(TSyntheticRandom& random, int words) const {
  std::string sentence;
  for (int i = 0; i < words; ++i) {
    if (i > 0) sentence += random.Chance(0.06) ? ", " : " ";
    sentence += Word(random);
  }
  if (!sentence.empty() && sentence[0] >= 'a' && sentence[0] <= 'z') sentence[0] = static_cast<char>(sentence[0] - 32);
  return sentence + ".";
}

std::string TSyntheticText::DocumentTitle(TSyntheticRandom& random) const {
  const std::string& kind = documentKinds_[random.Below(static_cast<std::uint32_t>(documentKinds_.size()))];
  const std::uint32_t number = 1 + random.Below(random.Chance(0.5) ? 999 : 59999);
  const int day = 1 + static_cast<int>(random.Below(28));
  const int month = 1 + static_cast<int>(random.Below(12));
  const int year = 1990 + static_cast<int>(random.Below(36));
  return FormatMessage("%s n\xBA %s, de %d de %s de %d", kind.c_str(), LegalNumber(number).c_str(), day,
                       MonthName(month).c_str(), year);
}

std::string TSyntheticText::FolderTitle(TSyntheticRandom& random) const {
  const std::string& title = folderTitles_[random.Below(static_cast<std::uint32_t>(folderTitles_.size()))];
  if (random.Chance(0.4)) return title + " " + std::to_string(1990 + random.Below(36));
  if (random.Chance(0.3)) return title + " - " + MonthName(1 + static_cast<int>(random.Below(12)));
  return title;
}
