"""libkvn.so stands alone: its dynamic section names only the layers it is built on (the
platform, its logon, the model and the transport) and the C and C++ runtimes, never the
monitoring core or the libraries of the report writers."""
import re
import subprocess
import sys

OURS = {"libmor.so", "libmor_auth.so", "libkor_model.so", "libkor_net.so"}
# The compiler's and the C library's runtimes, and the sanitizers' in instrumented builds.
RUNTIME = re.compile(r"^(libstdc\+\+|libm|libgcc_s|libc|libpthread|libdl|ld-linux[-\w]*|"
                     r"libasan|libubsan|libtsan)\.so(\.\d+)*$")


def needed(library):
    dynamic = subprocess.run(["readelf", "-d", library], capture_output=True, text=True,
                             check=True).stdout
    return re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", dynamic)


def main(library):
    names = needed(library)
    others = [n for n in names if n not in OURS and not RUNTIME.match(n)]
    for name in others:
        print("libkvn.so needs", name)
    print(f"{len(names)} needed libraries, {len(others)} beyond its layers and the runtimes")
    if not set(names) & OURS:
        print("no library of ours at all: not the library that was meant")
        return 1
    return 1 if others else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
