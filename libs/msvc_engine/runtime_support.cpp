// What the compiler's output needs from a C runtime that this engine does not link.

// The type descriptors of thrown types (their RTTI) point at type_info's vftable, which the
// runtime has but does not export as a symbol an import library can give. Nothing calls through
// it: matching a thrown type to a catch compares the descriptors' decorated names.
extern "C" const void* const typeInfoVftable[1] __asm__("??_7type_info@@6B@") = {};
