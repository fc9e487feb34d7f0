#include "OperationRunner.h"

#include <QEventLoop>

#include "Operation.h"

int RunOperation(TOperation& operation) {
  if (operation.Running()) {
    QEventLoop loop;
    QObject::connect(&operation, &TOperation::ChainEnded, &loop, &QEventLoop::quit);
    loop.exec();
  }
  const bool succeeded = operation.Finished() && !operation.Failed() && !operation.Cancelled();
  return succeeded ? 0 : 1;
}
