// A shared library that is no gauge module: it exports neither "Linkage"
// nor "ImportTable".
extern "C" int NotAGaugeAnswer() {
  return 42;
}
