#include "se_translator.h"

namespace {
SeTranslatorFunction installedTranslator = nullptr;
}

SeTranslatorFunction SetSeTranslator(SeTranslatorFunction translator) {
  SeTranslatorFunction previous = installedTranslator;
  installedTranslator = translator;
  return previous;
}

void TranslateSeException(unsigned int code, EXCEPTION_POINTERS* /*pointers*/) {
  throw code;
}
