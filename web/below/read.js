// The code-reading section (#read-section): the text area (#read-code),
// read a moment after typing stops, and what was read: why nothing
// (#read-message), or a heading (#read-heading) and three lists
// (#read-serial, #read-timers, #read-findings). The paste and all read from
// it are set as text, never as markup.
mergeInto(LibraryManager.library, {
  $baud51Read: {
    timer: 0,
    // Long enough to let typing run on; a paste reads at once after it.
    pause: 250,
    wired: false,
    wire: function() {
      if (baud51Read.wired) return;
      baud51Read.wired = true;
      document.getElementById('read-code').addEventListener('input',
                                                            function() {
        clearTimeout(baud51Read.timer);
        baud51Read.timer = setTimeout(function() {
          var start = performance.now();
          _baud51_read();
          performance.measure('baud51-read', {start: start});
        }, baud51Read.pause);
      });
    },
  },

  // `lists`: per line a list's name, a head (in bold), a body that follows
  // it and a detail below, separated by tabs; an empty head is the list's
  // words for none.
  baud51_dom_read__deps: ['$baud51', '$baud51Read'],
  baud51_dom_read: function(message, messageLength, heading, headingLength,
                            lists, listsLength) {
    baud51Read.wire();
    var said = document.getElementById('read-message');
    said.textContent = baud51.text(message, messageLength);
    said.hidden = !said.textContent;
    document.getElementById('read-result').hidden = !said.hidden;
    document.getElementById('read-heading').textContent =
        baud51.text(heading, headingLength);
    var names = ['serial', 'timers', 'findings'];
    names.forEach(function(name) {
      document.getElementById('read-' + name).textContent = '';
    });
    baud51.text(lists, listsLength).split('\n').forEach(function(line) {
      var fields = line.split('\t');
      if (names.indexOf(fields[0]) < 0) return;
      var item = document.getElementById('read-' + fields[0]).appendChild(
          document.createElement('li'));
      if (!fields[1]) {
        item.className = 'none';
        item.textContent = fields[2];
        return;
      }
      if (fields[0] == 'findings') item.className = 'within';
      item.appendChild(document.createElement('strong')).textContent =
          fields[1];
      item.append(fields[2]);
      if (fields[3]) {
        item.appendChild(document.createElement('div')).textContent =
            fields[3];
      }
    });
  },
});
