#pragma once

// Bases for the update package tests: an installed base generated from a
// seed, a new base derived from it with replaced and added documents, and
// the means to compare bases and to write volumes by hand.

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "LxDateTime.h"
#include "TOMORecord.h"

// A day later than any the generator writes, so replaced documents are newer.
TDateTime NewerDate();

// A small generated base in `folder`.
void GenerateSmallBase(const std::string& folder, std::uint64_t seed = 7);
void CopyFolder(const std::string& from, const std::string& to);

// Rewrites the tree file with the record of entry `id` edited.
void EditRecord(const std::string& folder, std::int32_t id, const std::function<void(TTOMORecordH&)>& edit);
// Replaces the document of entry `id` by a rich text holding `words`
// (UTF-8), dated `date`, and records the date in the tree.
void ReplaceDocument(const std::string& folder, std::int32_t id, const std::string& words, TDateTime date);
// Replaces the document of entry `id` by a bitmap dated `date`.
void ReplaceWithBitmap(const std::string& folder, std::int32_t id, TDateTime date);
// Adds a top-level entry with a rich-text document; returns its Id.
std::int32_t AddDocumentEntry(const std::string& folder, const std::string& title, const std::string& words,
                              TDateTime date);
// Sets the Changed date and the title of entry `id`.
void ChangeEntry(const std::string& folder, std::int32_t id, TDateTime changed, const std::string& title);

// Entries with a document, as Id -> DocumentNumber.
std::map<std::int32_t, std::int32_t> DocumentEntries(const std::string& folder);
// One line per entry in pre-order: every field of its record.
std::string TreeDump(const std::string& folder);
// The plain body of a document ("" when it cannot be read).
std::string DocumentBody(const std::string& folder, std::int32_t number);
// The tree of DATA, updated from OLD towards NEW, never lists a document
// newer than its file: every document it lists reads, and every one it dates
// otherwise than OLD reads as NEW's.
void ExpectTreeNotAheadOfDocuments(const std::string& data, const std::string& old, const std::string& updated);
// Every file under `folder` with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder);

// A volume written by hand: signature, the header lines given, an empty line,
// the payload.
std::string Volume(const std::string& headerLinesUtf8, const std::string& payload);
// The zlib block (TLxZLIBStream) of `expanded`.
std::string ZlibBlock(const std::string& expanded);
// A 32-bit little-endian field.
std::string Fixed32(std::int32_t value);
