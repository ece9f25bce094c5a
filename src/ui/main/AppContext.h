#pragma once

namespace varnoth
{

class Store;
struct Session;
class Form1;

// What every window is handed: the data folder, the shared state of the run and the main window.
struct AppContext {
    Store& store;
    Session& session;
    Form1* main = nullptr;
};

} // namespace varnoth
