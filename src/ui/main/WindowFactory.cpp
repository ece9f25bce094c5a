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

SecondaryWindow* createWindow(int number, AppContext& ctx)
{
    switch (number) {
    case 3:
        return new Form3(ctx);
    case 4:
        return new Form4(ctx);
    case 5:
        return new Form5(ctx);
    case 6:
        return new Form6(ctx);
    case 7:
        return new Form7(ctx);
    case 8:
        return new Form8(ctx);
    case 9:
        return new Form9(ctx);
    case 10:
        return new Form10(ctx);
    case 11:
        return new Form11(ctx);
    case 12:
        return new Form12(ctx);
    case 13:
        return new Form13(ctx);
    case 14:
        return new Form14(ctx);
    case 15:
        return new Form15(ctx);
    case 18:
        return new Form18(ctx);
    case 19:
        return new ExposureMap(ctx);
    case 23:
        return new ChatPasteWindow(ctx);
    case 24:
        return new AuditWindow(ctx);
    case 20:
        return new NumberRulesWindow(ctx);
    case 21:
        return new BillWindow(ctx);
    case 22:
        return new DrawHistoryWindow(ctx);
    default:
        return nullptr;
    }
}

} // namespace varnoth
