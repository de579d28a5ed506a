// The Windows checker carries the stand-in host inside instead of importing it from version.dll as
// the plugin does. The host bridge and the plugin's core, shared with the plugin, are compiled to
// call the host's functions through the pointers a DLL import provides (__imp_<name>); with the
// host linked in, nothing provides those, so this file does, for the host functions the checker
// reaches, each pointing at the function linked in. Built for Windows only.

extern "C" {

// The host functions under their C++ names, as the stand-in defines them.
void HostGetAddress() __asm__(
    "_Z10GetAddressRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");
void HostUtf8Decode() __asm__(
    "_ZN7HostApi5Tools10Utf8DecodeERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");
void HostUtf8Encode() __asm__(
    "_ZN7HostApi5Tools10Utf8EncodeERKNSt7__cxx1112basic_stringIwSt11char_traitsIwESaIwEEE");

// Their import pointers.
void* ImportGetAddress __asm__(
    "__imp__Z10GetAddressRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE") =
    reinterpret_cast<void*>(&HostGetAddress);
void* ImportUtf8Decode __asm__(
    "__imp__ZN7HostApi5Tools10Utf8DecodeERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE") =
    reinterpret_cast<void*>(&HostUtf8Decode);
void* ImportUtf8Encode __asm__(
    "__imp__ZN7HostApi5Tools10Utf8EncodeERKNSt7__cxx1112basic_stringIwSt11char_traitsIwESaIwEEE") =
    reinterpret_cast<void*>(&HostUtf8Encode);
}
