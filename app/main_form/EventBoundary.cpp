#include "app/main_form/EventBoundary.h"

#include "app/main_form/MainFormLayout.h"

void ShowHandlerFailure(CVolWinLabel& statusLabel, const char16_t* text) {
    statusLabel.SetTextColor(STATUS_FAILURE_COLOR);
    statusLabel.SetText(text);
}
