# fish completion for velmora-drive: its commands, each command's options and the options' values,
# and for DEVICE the devices where the program looks for drives, as `velmora-drive
# __complete-devices` names them (it opens none of them, so a completion never waits for a drive).
# Installed as /usr/share/fish/vendor_completions.d/velmora-drive.fish.

function __velmora_drive_devices
    set -l words (commandline -opc)
    if contains -- --demo $words
        $words[1] --demo __complete-devices 2>/dev/null
    else
        $words[1] __complete-devices 2>/dev/null
    end
end

set -l commands list show set restore
complete -c velmora-drive -f
complete -c velmora-drive -n "not __fish_seen_subcommand_from $commands" -a list -d 'List the supported drives'
complete -c velmora-drive -n "not __fish_seen_subcommand_from $commands" -a show -d 'Show both settings of a drive'
complete -c velmora-drive -n "not __fish_seen_subcommand_from $commands" -a set -d 'Change the settings named'
complete -c velmora-drive -n "not __fish_seen_subcommand_from $commands" -a restore -d 'Write the factory values'
complete -c velmora-drive -s j -l json -d 'Print one JSON document on stdout'
complete -c velmora-drive -l trace -d 'Print each SCSI command on stderr'
complete -c velmora-drive -l demo -d "Use the demo's two simulated drives"
complete -c velmora-drive -s h -l help -d 'Print the help'
complete -c velmora-drive -n "not __fish_seen_subcommand_from $commands" -l version -d 'Print the version'
complete -c velmora-drive -n '__fish_seen_subcommand_from list' -l all -d 'Also the devices that are not supported drives'
complete -c velmora-drive -n '__fish_seen_subcommand_from show set restore' -a '(__velmora_drive_devices)' -d Drive
complete -c velmora-drive -n '__fish_seen_subcommand_from set' -l optimal-speed -x -a 'on off' -d 'Optimal Writing Speed'
complete -c velmora-drive -n '__fish_seen_subcommand_from set' -l audio-mode -x -a 'high low' -d 'Audio Optimized Write Mode'
complete -c velmora-drive -n '__fish_seen_subcommand_from set' -l save -d 'Also save the values in the drive'
complete -c velmora-drive -n '__fish_seen_subcommand_from set restore' -l dry-run -d 'Print the commands and send no write'
