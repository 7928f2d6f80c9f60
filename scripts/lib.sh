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

# What a script's --help prints: its header comment, from the line after `#!` up to the first
# line that is not a comment, each line without its "# ".
print_help() {
    awk 'NR == 1 { next } !/^#/ { exit } { sub(/^# ?/, ""); print }' "$0"
}

# A wrong use of the calling script: says why on standard error and ends it with status 2.
usage_error() {
    echo "scripts/$(basename "$0"): $*" >&2
    exit 2
}

# The value of an option given as `--name=VALUE` or `--name VALUE`; called with the arguments
# left, the option first. Sets `value`, and `taken` to the number of arguments to shift. An
# option with no value, or followed by another option, is a usage error.
take_value() {
    taken=1
    case "$1" in
    *=*) value=${1#*=} ;;
    *) value=${2-} taken=2 ;;
    esac
    if [ -z "$value" ] || { [ "$taken" = 2 ] && [[ $value == -* ]]; }; then
        usage_error "${1%%=*} needs a value"
    fi
}

# take_value for an option whose value is a whole number above 0.
take_count() {
    take_value "$@"
    [[ $value =~ ^[1-9][0-9]{0,17}$ ]] \
        || usage_error "${1%%=*} needs a whole number above 0, not '$value'"
}
