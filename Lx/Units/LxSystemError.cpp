#include "LxSystemError.h"

#include <cerrno>

namespace {

const char* CauseOf(int code) {
  switch (code) {
    case ENOENT: return "arquivo ou diretório não encontrado";
    case EACCES:
    case EPERM: return "permissão negada";
    case ENOSPC: return "não há espaço livre no disco";
    case EDQUOT: return "a cota de disco do usuário acabou";
    case EROFS: return "o disco é somente para leitura";
    case ENAMETOOLONG: return "nome de arquivo longo demais";
    case ENOTDIR: return "uma parte do caminho não é um diretório";
    case EISDIR: return "o caminho é um diretório";
    case EEXIST: return "o arquivo já existe";
    case ENOTEMPTY: return "o diretório não está vazio";
    case EIO: return "erro de leitura ou gravação no dispositivo";
    case EMFILE:
    case ENFILE: return "arquivos abertos demais";
    case EBUSY: return "o arquivo está em uso";
    case EAGAIN: return "o arquivo está bloqueado por outro programa";
    case ENXIO:
    case ENODEV: return "o dispositivo não está disponível";
    case EFBIG: return "o arquivo ficou grande demais";
    default: return "o sistema recusou a operação";
  }
}

}  // namespace

std::string SystemErrorText(int code) { return std::string(CauseOf(code)) + " (código " + std::to_string(code) + ")"; }
