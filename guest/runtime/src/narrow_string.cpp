// std::string: the members of the shared string exported for char. The
// explicit instantiations below are the narrow string's part of the
// library's exports; each comes out as a weak definition.
#include "host_names.h"
#include "shared_string_members.h"

namespace std {

template basic_string<char>::size_type basic_string<char>::_Rep::_S_empty_rep_storage[];
static_assert(sizeof(basic_string<char>::_Rep::_S_empty_rep_storage) == 16, "a header and a zero character: 16 bytes");
template const char basic_string<char>::_Rep::_S_terminal;
template basic_string<char>::_Rep* basic_string<char>::_Rep::_S_create(size_type, size_type, const allocator<char>&);
template void basic_string<char>::_Rep::_M_dispose(const allocator<char>&);
template void basic_string<char>::_Rep::_M_destroy(const allocator<char>&);
template void basic_string<char>::_M_leak_hard();
template void basic_string<char>::_M_mutate(size_type, size_type, size_type);

template basic_string<char>::basic_string();
template basic_string<char>::basic_string(const char*, const allocator<char>&);
template basic_string<char>::basic_string(const char*, size_type, const allocator<char>&);
template basic_string<char>::basic_string(const basic_string&);
template basic_string<char>::basic_string(const basic_string&, size_type, size_type);
template basic_string<char>::basic_string(size_type, char, const allocator<char>&);
template basic_string<char>::~basic_string();

template basic_string<char>& basic_string<char>::assign(const char*, size_type);
template basic_string<char>& basic_string<char>::assign(const char*);
template basic_string<char>& basic_string<char>::assign(const basic_string&);
template basic_string<char>& basic_string<char>::operator=(const char*);
template basic_string<char>& basic_string<char>::operator=(const basic_string&);
template basic_string<char>& basic_string<char>::operator=(char);
template basic_string<char>& basic_string<char>::append(const char*, size_type);
template basic_string<char>& basic_string<char>::append(const char*);
template basic_string<char>& basic_string<char>::append(const basic_string&);
template basic_string<char>& basic_string<char>::append(const basic_string&, size_type, size_type);
template basic_string<char>& basic_string<char>::append(size_type, char);
template basic_string<char>& basic_string<char>::operator+=(const char*);
template basic_string<char>& basic_string<char>::operator+=(const basic_string&);
template basic_string<char>& basic_string<char>::operator+=(char);
template void basic_string<char>::push_back(char);

template basic_string<char>::size_type basic_string<char>::size() const;
template basic_string<char>::size_type basic_string<char>::length() const;
template bool basic_string<char>::empty() const;
template void basic_string<char>::resize(size_type, char);
template void basic_string<char>::resize(size_type);
template void basic_string<char>::reserve(size_type);
template void basic_string<char>::clear();

template basic_string<char>& basic_string<char>::replace(size_type, size_type, const char*, size_type);
template basic_string<char>& basic_string<char>::replace(size_type, size_type, const char*);
template basic_string<char>& basic_string<char>::replace(size_type, size_type, const basic_string&);
template basic_string<char>& basic_string<char>::replace(size_type, size_type, size_type, char);
template basic_string<char>& basic_string<char>::_M_replace_aux(size_type, size_type, size_type, char);
template basic_string<char>& basic_string<char>::insert(size_type, const char*, size_type);
template basic_string<char>& basic_string<char>::erase(size_type, size_type);
template void basic_string<char>::swap(basic_string&);

template basic_string<char>::size_type basic_string<char>::find(const char*, size_type, size_type) const;
template basic_string<char>::size_type basic_string<char>::find(const char*, size_type) const;
template basic_string<char>::size_type basic_string<char>::find(const basic_string&, size_type) const;
template basic_string<char>::size_type basic_string<char>::find(char, size_type) const;
template basic_string<char>::size_type basic_string<char>::rfind(const char*, size_type, size_type) const;
template basic_string<char>::size_type basic_string<char>::rfind(const char*, size_type) const;
template basic_string<char>::size_type basic_string<char>::rfind(const basic_string&, size_type) const;
template basic_string<char>::size_type basic_string<char>::rfind(char, size_type) const;
template basic_string<char>::size_type basic_string<char>::find_first_of(const char*, size_type, size_type) const;
template basic_string<char>::size_type basic_string<char>::find_first_of(char, size_type) const;
template basic_string<char>::size_type basic_string<char>::find_last_of(const char*, size_type, size_type) const;
template basic_string<char>::size_type basic_string<char>::find_last_of(const char*, size_type) const;
template basic_string<char>::size_type basic_string<char>::find_last_of(char, size_type) const;
template basic_string<char>::size_type basic_string<char>::find_first_not_of(const char*, size_type, size_type) const;
template basic_string<char>::size_type basic_string<char>::find_first_not_of(const char*, size_type) const;
template basic_string<char>::size_type basic_string<char>::find_first_not_of(char, size_type) const;
template basic_string<char>::size_type basic_string<char>::find_last_not_of(const char*, size_type, size_type) const;

template int basic_string<char>::compare(const basic_string&) const;
template int basic_string<char>::compare(const char*) const;
template int basic_string<char>::compare(size_type, size_type, const basic_string&) const;
template int basic_string<char>::compare(size_type, size_type, const char*) const;
template int basic_string<char>::compare(size_type, size_type, const char*, size_type) const;

template const char* basic_string<char>::c_str() const;
template const char* basic_string<char>::data() const;
template basic_string<char>::const_iterator basic_string<char>::begin() const;
template basic_string<char>::const_iterator basic_string<char>::end() const;
template basic_string<char>::iterator basic_string<char>::begin();
template basic_string<char>::iterator basic_string<char>::end();
template basic_string<char>::const_reference basic_string<char>::operator[](size_type) const;
template basic_string<char>::reference basic_string<char>::operator[](size_type);
template basic_string<char>::const_reference basic_string<char>::at(size_type) const;
template basic_string<char>::reference basic_string<char>::at(size_type);
template basic_string<char>::size_type basic_string<char>::copy(char*, size_type, size_type) const;
template basic_string<char> basic_string<char>::substr(size_type, size_type) const;

}

// These three constructors are exported in their complete-object form only;
// the compiler emits the base-object form beside it.
TORVEL_HIDE_SYMBOL("_ZNSsC2EPKc" TORVEL_SIZE_MANGLING "RKSaIcE");
TORVEL_HIDE_SYMBOL("_ZNSsC2ERKSs" TORVEL_SIZE_MANGLING TORVEL_SIZE_MANGLING);
TORVEL_HIDE_SYMBOL("_ZNSsC2E" TORVEL_SIZE_MANGLING "cRKSaIcE");
