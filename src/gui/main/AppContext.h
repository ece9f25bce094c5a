#pragma once

namespace varnoth
{

class BookReader;
struct Session;
class Ledger;
class Shell;

// What every window is handed: what it may read of the book, the shared state of the run, the
// application layer through which every change of the book goes, and the main window's services.
struct AppContext {
    BookReader& book;
    Session& session;
    Ledger& ledger;
    Shell* shell = nullptr;
};

} // namespace varnoth
