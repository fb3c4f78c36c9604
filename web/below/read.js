// The code-reading section (#read-section): the text area (#read-code),
// read a moment after typing stops, and what was read: why nothing
// (#read-message), or a heading (#read-heading) and three lists
// (#read-serial, #read-timers, #read-findings). The reading is done in a
// worker, by the program below started again there (read_worker.js), so
// that a long paste never holds up the page: here the paste is only handed
// over and the answer drawn. The paste and all read from it are set as
// text, never as markup.
mergeInto(LibraryManager.library, {
  $baud51Read__deps: ['$baud51'],
  $baud51Read: {
    timer: 0,
    // Long enough to let typing run on; a paste reads at once after it.
    pause: 250,
    since: null,  // when the pause ended, until what it asked for is drawn
    wired: false,
    wire: function() {
      if (baud51Read.wired) return;
      baud51Read.wired = true;
      document.getElementById('read-code').addEventListener('input',
                                                            function() {
        clearTimeout(baud51Read.timer);
        // A reading under way is of text no longer there.
        baud51Read.drop();
        baud51Read.timer = setTimeout(function() {
          baud51Read.since = performance.now();
          _baud51_read();
        }, baud51Read.pause);
      });
    },

    text: null,  // the paste last taken, in UTF-8, if the reader takes it
    taken: 0,  // how many have been taken: the last one's number
    script: '',  // the program's script as a blob: address, once needed
    worker: null,  // the reader, once started
    asked: 0,  // the last request's id: only its answer is drawn
    // A worker of the program below, from the page's copy of its script
    // and its program as compiled for the page: nothing is unpacked or
    // compiled again.
    start: function() {
      if (!baud51Read.script) {
        baud51Read.script = URL.createObjectURL(new Blob(
            [baud51Page.belowScript], {type: 'text/javascript'}));
      }
      var worker = baud51Read.worker = new Worker(baud51Read.script);
      worker.postMessage(baud51Page.belowProgram);
      worker.onmessage = function(event) {
        baud51Read.answered(worker, event.data);
      };
      // It could not start, or stopped: the next request starts another.
      worker.onerror = function() {
        if (baud51Read.worker === worker) baud51Read.stop();
      };
      return worker;
    },
    stop: function() {
      baud51Read.worker.terminate();
      baud51Read.worker = null;
    },
    // `request`: {chip, frequency, tolerance, language}, for the paste
    // last taken. A worker still reading another paste, crystal, tolerance
    // or family is stopped, and a fresh one started: what it would answer
    // is of no use now. One reading the same is left to finish, since it
    // keeps its reading for the words of the next request.
    ask: function(request) {
      var reading = JSON.stringify([baud51Read.taken, request.frequency,
                                    request.tolerance, request.chip]);
      var worker = baud51Read.worker;
      if (worker && worker.reading && worker.reading !== reading) {
        baud51Read.stop();
      }
      worker = baud51Read.worker || baud51Read.start();
      request.id = worker.last = ++baud51Read.asked;
      request.text = worker.taken === baud51Read.taken ? null : baud51Read.text;
      worker.taken = baud51Read.taken;
      worker.reading = reading;
      worker.postMessage(request);
    },
    // Whatever is drawn now stands over a reading still under way.
    drop: function() {
      ++baud51Read.asked;
      if (baud51Read.worker && baud51Read.worker.reading) baud51Read.stop();
    },
    answered: function(worker, answer) {
      if (answer.id === worker.last) worker.reading = null;
      if (answer.id !== baud51Read.asked) return;
      if ('failed' in answer) {
        baud51.message(answer.failed);
      } else {
        baud51Read.draw(answer.message, answer.heading, answer.lists);
      }
    },

    // `lists`: per line a list's name, a head (in bold), a body that
    // follows it and a detail below, separated by tabs; an empty head is
    // the list's words for none.
    draw: function(message, heading, lists) {
      var said = document.getElementById('read-message');
      said.textContent = message;
      said.hidden = !said.textContent;
      document.getElementById('read-result').hidden = !said.hidden;
      document.getElementById('read-heading').textContent = heading;
      var names = ['serial', 'timers', 'findings'];
      names.forEach(function(name) {
        document.getElementById('read-' + name).textContent = '';
      });
      lists.split('\n').forEach(function(line) {
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
      if (baud51Read.since !== null) {
        performance.measure('baud51-read', {start: baud51Read.since});
        baud51Read.since = null;
      }
    },
  },

  // A paste longer in characters than `most` is longer in UTF-8 too, and
  // is not encoded at all.
  baud51_dom_read_take__deps: ['$baud51Read'],
  baud51_dom_read_take: function(most) {
    var paste = document.getElementById('read-code').value;
    ++baud51Read.taken;
    baud51Read.text = null;
    if (paste.length > most) return paste.length;
    var text = new TextEncoder().encode(paste);
    if (text.length <= most) baud51Read.text = text;
    return text.length;
  },

  baud51_dom_read_code__deps: ['$baud51', '$baud51Read'],
  baud51_dom_read_code: function(chip, chipLength, frequency, tolerance,
                                 language) {
    baud51Read.wire();
    baud51Read.ask({chip: baud51.text(chip, chipLength), frequency: frequency,
                    tolerance: tolerance, language: language});
  },

  baud51_dom_read__deps: ['$baud51', '$baud51Read'],
  baud51_dom_read: function(message, messageLength, heading, headingLength,
                            lists, listsLength) {
    baud51Read.wire();
    baud51Read.drop();
    baud51Read.draw(baud51.text(message, messageLength),
                    baud51.text(heading, headingLength),
                    baud51.text(lists, listsLength));
  },

  // In the worker (read_worker.cpp): the request being read, as posted
  // here (`asked` on the program), and the answer posted back with its id.
  // `which`: 0 the paste, 1 the family's filter, in UTF-8.
  $baud51Asked: function(which) {
    var asked = Module['asked'];
    return which ? new TextEncoder().encode(asked.chip) : asked.text;
  },
  baud51_reader_size__deps: ['$baud51Asked'],
  baud51_reader_size: function(which) { return baud51Asked(which).length; },
  baud51_reader_copy__deps: ['$baud51Asked'],
  baud51_reader_copy: function(which, buffer, size) {
    HEAPU8.set(baud51Asked(which).subarray(0, size), buffer);
  },
  baud51_reader_shown: function(message, messageLength, heading,
                                headingLength, lists, listsLength) {
    postMessage({id: Module['asked'].id,
                 message: UTF8ToString(message, messageLength),
                 heading: UTF8ToString(heading, headingLength),
                 lists: UTF8ToString(lists, listsLength)});
  },
  baud51_reader_failed: function(text, textLength) {
    postMessage({id: Module['asked'].id,
                 failed: UTF8ToString(text, textLength)});
  },
});
