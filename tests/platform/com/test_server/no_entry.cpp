// A loadable module that is not a COM server: it has none of the entry points.
extern "C" int KelTestNotAServer() { return 42; }
