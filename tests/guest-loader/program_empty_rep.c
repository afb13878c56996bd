/* The program's own definition of std::string's empty representation
 * (std::basic_string<char>::_Rep::_S_empty_rep_storage), a weak template
 * member as the library's. Written in C under the mangled name so that it
 * sits in a translation unit of its own, apart from the library's
 * declaration of the member. */
__attribute__((weak, aligned(4))) unsigned int program_empty_rep[4] __asm__("_ZNSs4_Rep20_S_empty_rep_storageE");
