#include "OperationView.h"

void TOperationView::AddLog(const std::string&, TLogColour, TLogStyle) {}
void TOperationView::ResetProgress(int) {}
void TOperationView::SetProgress(int, int) {}
void TOperationView::ShowStages(const std::vector<std::string>&, int) {}
void TOperationView::BeginNodeList() {}
void TOperationView::AddNodeItem(int, int, const TTOMONode*, const std::string&) {}
void TOperationView::SetNodeItemCaption(int, const std::string&) {}
void TOperationView::EndNodeList() {}
void TOperationView::SelectNodeItem(int) {}
void TOperationView::ShowError(const std::exception&) {}
void TOperationView::OperationStateChanged() {}
