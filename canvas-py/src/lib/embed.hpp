// A file's bytes taken into the module's read-only data when it is built, between two symbols, as the fonts
// are: no data file to install or find at run time.
#pragma once

// Defines `name` and `name##_end` around the bytes of the file at `path` (a string literal); declare them with
// QC_EMBEDDED. Use once per name, at namespace scope.
#define QC_EMBED(name, path)                  \
  asm(".pushsection .rodata\n"                \
      ".balign 16\n"                          \
      ".globl " #name "\n"                    \
      ".hidden " #name "\n"                   \
      ".type " #name ", @object\n" #name ":\n" \
      ".incbin \"" path "\"\n"                \
      ".globl " #name "_end\n"                \
      ".hidden " #name "_end\n" #name "_end:\n" \
      ".popsection\n")

#define QC_EMBEDDED(name)                     \
  extern "C" {                                \
  extern const unsigned char name[];          \
  extern const unsigned char name##_end[];    \
  }
