// A window outside gui/: the check must refuse it.
