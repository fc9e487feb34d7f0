#pragma once

// Texts the word index shows to the user, word for word.

inline constexpr const char* kIndexAlreadyOpenMessage =
    "O índice já está aberto neste momento.Cancele a operação, ou aguarde sua conclusão, para "
    "tentar novamente.";
inline constexpr const char* kIndexCannotOpenMessage =
    "Não foi possível abrir o índice de palavras. Gere novamente o índice através do menu "
    "Arquivo > Manutenção.";
// %d: the group whose file holds the impossible positions.
inline constexpr const char* kIndexDamagedMessage =
    "O índice de palavras está danificado (grupo %d). Gere novamente o índice através do menu "
    "Arquivo > Manutenção.";
inline constexpr const char* kIndexInUseMessage = "Operação cancelada. Índice em uso.";

// %s: the machine that holds the index folder.
inline constexpr const char* kSearchBusyQuestion =
    "O índice não pôde ser aberto por estar sendo atualizado ou criado pela máquina %s. Ele deve "
    "ser liberado em alguns minutos. Deseja tentar acessá-lo novamente agora?";
inline constexpr const char* kUpdateBusyQuestion =
    "O índice não pôde ser aberto por estar sendo utilizado pela máquina %s. Deseja acessá-lo "
    "novamente agora? Caso não deseje, a atualização não afetará o índice, que deverá ser gerado "
    "por completo posteriormente";
inline constexpr const char* kCreateBusyMessage =
    "O índice não pôde ser aberto por estar sendo utilizado pela máquina %s. Tente novamente em "
    "alguns instantes.";

inline constexpr const char* kOutOfDateNotice =
    "O índice está marcado como desatualizado, portanto documentos recentes podem não aparecer "
    "na lista de resultados. É aconselhável gerar novamente o índice através do menu "
    "Arquivo > Manutenção.";

// Clearing the index while this program has it open would pull it from
// under its user (the build window or a running update).
inline constexpr const char* kDeleteWhileOpenMessage =
    "O índice de palavras está em uso neste momento. Cancele a operação, ou aguarde sua "
    "conclusão, para limpar o índice.";

// The lines of OutOfDate.txt, in UTF-8 (the file itself is Windows-1252).
inline constexpr const char* kOutOfDateFileLines[] = {
    "  Este arquivo indica que o índice de palavras",
    "do Pandecta está desatualizado.",
    "Não o exclua manualmente.",
};
