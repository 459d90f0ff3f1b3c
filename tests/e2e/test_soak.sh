# A one-minute soak inside the suite; scripts/soak runs the long one.
FROSTMOOR_BIN="$(dirname "$FROSTMOOR_BIN")/frostmoor-soak"
source "$(dirname "$0")/soak.sh" 60
