#pragma once

#include <string>

// Fixed names of the document file format.

// Line 1 of every document file.
inline constexpr const char* kDocumentSignature = "TOMO.Documento";

// Values of the "Codificação" property.
inline constexpr const char* kEncodingZLib = "ZLib";
inline constexpr const char* kEncodingScrambledBody = "2";

// Stages of a document file's commit, appended to its name.
inline constexpr const char* kPlainBodySuffix = ".lck";
inline constexpr const char* kEncodingSuffix = ".tmp";
inline constexpr const char* kCompleteSuffix = ".new";

// True when the file exists and starts with the document signature. Never raises.
bool HasDocumentSignature(const std::string& path);
