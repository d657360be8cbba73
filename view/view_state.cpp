#include "view/view_state.h"

#include "app/text.h"
#include "view/view_api.h"
#include "view/view_platform.h"

View gView;

void View_SetTexts(const wchar_t *placeholder, const wchar_t *prompt)
{
    Text_Copy(gView.placeholderText, VIEW_TEXT_CAPACITY, placeholder);
    Text_Copy(gView.textPrompt, VIEW_TEXT_CAPACITY, prompt);
    View_Invalidate(false);
}
