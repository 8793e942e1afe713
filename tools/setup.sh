# Sourced by ./run and ./test: installs the Debian packages the build needs when missing.

QM_BUILD_PACKAGES=(g++ cmake ninja-build ccache pkg-config qt6-base-dev qt6-base-dev-tools
    libjpeg62-turbo-dev libfontconfig-dev libuemf-dev fonts-arphic-uming fonts-liberation2
    fonts-dejavu-core)
QM_TEST_PACKAGES=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev clang-format emf2svg
    xvfb xauth xdotool x11-utils openbox imagemagick cups printer-driver-cups-pdf poppler-utils
    python3-pdfminer desktop-file-utils file)

qm_missing_packages() {
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            printf '%s\n' "$pkg"
        fi
    done
}

qm_ensure_packages() {
    local missing
    mapfile -t missing < <(qm_missing_packages "$@")
    [ "${#missing[@]}" -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages: ${missing[*]}" >&2
        echo "Install them as root: apt-get install --no-install-recommends ${missing[*]}" >&2
        return 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
