#include "ui/main/WindowDispatch.h"

#include "audit/AuditWindow.h"
#include "accounts/BillWindow.h"
#include "accounts/DrawHistoryWindow.h"
#include "reports/ExposureMapWindow.h"
#include "reports/Form14.h"
#include "reports/Form15.h"
#include "reports/Form6.h"
#include "reports/Form9.h"
#include "settings/Form11.h"
#include "settings/Form18.h"
#include "settings/Form8.h"
#include "settings/NumberRulesWindow.h"
#include "tools/Form10.h"
#include "tools/Form12.h"
#include "tools/Form3.h"
#include "tools/Form4.h"
#include "tools/Form7.h"
#include "ui/main/ChatPasteWindow.h"
#include "ui/main/Form13.h"
#include "ui/main/Form5.h"

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
        return new ExposureMap(ctx);
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
    }
    return nullptr;
}

} // namespace varnoth
