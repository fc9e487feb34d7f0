#include "HttpErrors.h"

#include "LxExcept.h"

std::string HttpErrorText(int code) {
  if (code == httpSuccess) return "Sem erro.";
  if (code == httpStatusProxyAuthenticationRequired) return HttpErrorText(httpProxyAuthenticationFailed);
  if (IsHttpStatusError(code)) return FormatMessage("O servidor respondeu com o código HTTP %d.", code);
  switch (static_cast<THttpError>(code)) {
    case httpSuccess: break;
    case httpAborted: return "Transferência interrompida.";
    case httpConnectionRefused: return "O servidor recusou a conexão.";
    case httpHostNotFound: return "Servidor não encontrado.";
    case httpTimeout: return "Tempo de espera esgotado.";
    case httpConnectionClosed: return "O servidor encerrou a conexão antes de responder.";
    case httpBodyTruncated: return "O arquivo chegou incompleto: o servidor encerrou a conexão antes do fim.";
    case httpSecureConnectionFailed: return "Não foi possível estabelecer a conexão segura com o servidor.";
    case httpRedirectRefused: return "O servidor redirecionou a transferência para um endereço não aceito.";
    case httpBodyTooLarge: return "O arquivo recebido é maior que o esperado: a transferência foi interrompida.";
    case httpProxyConnectionRefused: return "O proxy recusou a conexão.";
    case httpProxyNotFound: return "Proxy não encontrado.";
    case httpProxyAuthenticationFailed: return "O proxy recusou o usuário ou a senha.";
    case httpProxyTimeout: return "Tempo de espera esgotado no proxy.";
    case httpProxyConnectionClosed: return "O proxy encerrou a conexão.";
    case httpProxyFailed: return "Falha no proxy.";
    case httpInvalidUrl: return "Endereço inválido.";
    case httpInvalidProxy: return "A porta do proxy é inválida.";
    case httpProtocolError: return "Resposta inválida do servidor.";
    case httpReceiveStreamFailed: return "Não foi possível gravar o arquivo recebido.";
    case httpNetworkFailed: return "Falha de rede.";
  }
  return FormatMessage("Erro desconhecido (código %d).", code);
}
