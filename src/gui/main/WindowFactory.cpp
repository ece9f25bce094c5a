#include "gui/main/WindowDispatch.h"

#include "gui/accounts/BillWindow.h"
#include "gui/accounts/DealersWindow.h"
#include "gui/accounts/DrawHistoryWindow.h"
#include "gui/audit/AuditWindow.h"
#include "gui/main/ChatPasteWindow.h"
#include "gui/main/Form13.h"
#include "gui/main/Form5.h"
#include "gui/reports/ExposureMapWindow.h"
#include "gui/reports/Form14.h"
#include "gui/reports/Form15.h"
#include "gui/reports/Form6.h"
#include "gui/reports/Form9.h"
#include "gui/settings/Form11.h"
#include "gui/settings/Form18.h"
#include "gui/settings/Form8.h"
#include "gui/settings/NumberRulesWindow.h"
#include "gui/tools/Form10.h"
#include "gui/tools/Form12.h"
#include "gui/tools/Form3.h"
#include "gui/tools/Form4.h"
#include "gui/tools/Form7.h"
#include "gui/users/UsersWindow.h"

namespace varnoth
{

SecondaryWindow* createWindow(WindowId id, AppContext& ctx)
{
    switch (id) {
    case WindowId::Backup:
        return new Form3(ctx);
    case WindowId::Print:
        return new Form4(ctx);
    case WindowId::FilePicker:
        return new Form5(ctx);
    case WindowId::View:
        return new Form6(ctx);
    case WindowId::Record:
        return new Form7(ctx);
    case WindowId::Result:
        return new Form8(ctx);
    case WindowId::OverLimit:
        return new Form9(ctx);
    case WindowId::Readme:
        return new Form10(ctx);
    case WindowId::Settings:
        return new Form11(ctx);
    case WindowId::Calculator:
        return new Form12(ctx);
    case WindowId::GroupEntry:
        return new Form13(ctx);
    case WindowId::Prize:
        return new Form14(ctx);
    case WindowId::Cutting:
        return new Form15(ctx);
    case WindowId::Customers:
        return new Form18(ctx);
    case WindowId::ExposureMap:
        return new ExposureMapWindow(ctx);
    case WindowId::ChatPaste:
        return new ChatPasteWindow(ctx);
    case WindowId::Audit:
        return new AuditWindow(ctx);
    case WindowId::NumberRules:
        return new NumberRulesWindow(ctx);
    case WindowId::Bill:
        return new BillWindow(ctx);
    case WindowId::DrawHistory:
        return new DrawHistoryWindow(ctx);
    case WindowId::Users:
        return new UsersWindow(ctx);
    case WindowId::Dealers:
        return new DealersWindow(ctx);
    }
    return nullptr;
}

} // namespace varnoth
