# Helpers shared by the scripts in this folder; source it, don't run it.

# The repository's top folder, whatever the caller's working directory.
KALENO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# ccache (cmake/CompilerCache.cmake) hashes paths relative to the repository and not the build
# folder's own path, so that a fresh clone finds what an earlier clone compiled.
export CCACHE_BASEDIR="$KALENO_ROOT"
export CCACHE_NOHASHDIR=true

# Installs the Debian packages of scripts/packages.txt that are missing. As root it runs
# apt-get; otherwise it prints the one command to run and fails.
ensure_packages() {
    local wanted missing=()
    wanted=$(grep -v -E '^\s*(#|$)' "$KALENO_ROOT/scripts/packages.txt")
    for pkg in $wanted; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    if [ "$(id -u)" -ne 0 ]; then
        echo "Kaleno needs these Debian packages; install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        return 1
    fi
    echo "Installing Debian packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq || return 1
    apt-get install -y -qq --no-install-recommends "${missing[@]}" || return 1
}
