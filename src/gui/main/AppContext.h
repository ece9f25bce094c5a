#pragma once

namespace varnoth
{

class Store;
struct Session;
class Ledger;
class Shell;

// What every window is handed: the data folder, the shared state of the run, the application layer
// through which every change of the book goes, and the main window's services.
struct AppContext {
    Store& store;
    Session& session;
    Ledger& ledger;
    Shell* shell = nullptr;
};

} // namespace varnoth
