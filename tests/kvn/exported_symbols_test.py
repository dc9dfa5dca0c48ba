"""libkvn.so exports its public classes and nothing else: every defined dynamic symbol is a
member, vtable or type information of an SCA_Kvn* or SCA_KorvantaNet* class."""
import re
import subprocess
import sys

PUBLIC = re.compile(r"^(vtable for |typeinfo for |typeinfo name for |VTT for )?"
                    r"(non-virtual thunk to )?(SCA_Kvn|SCA_KorvantaNet)\w*(::|$)")


def main(library):
    listing = subprocess.run(["nm", "-DC", "--defined-only", library], capture_output=True,
                             text=True, check=True).stdout
    names = [line.split(" ", 2)[2] for line in listing.splitlines() if line.count(" ") >= 2]
    # Symbols the toolchain adds to every shared object, and the standard library's template
    # instantiations, which its headers give default visibility.
    names = [n for n in names if not n.startswith(("_init", "_fini", "__bss", "_edata", "_end"))
             and not re.match(r"^([\w:<>]+ |typeinfo (name )?for )?std::", n)]
    leaked = [n for n in names if not PUBLIC.match(n)]
    for name in leaked[:20]:
        print("exported but not public:", name)
    print(f"{len(names)} exported symbols, {len(leaked)} outside the public classes")
    if not names:
        print("no exported symbols at all")
        return 1
    return 1 if leaked else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
